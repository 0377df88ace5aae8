import math
n = 300
m = [[math.sin((i + 1) * (j + 1)) + (300 if i == j else 0) for j in range(n)] for i in range(n)]
# Gauss-Jordan inverse, as the interpreter does it.
a = [row[:] for row in m]
r = [[1.0 if i == j else 0.0 for j in range(n)] for i in range(n)]
for j in range(n):
    b = max(range(j, n), key=lambda k: abs(a[k][j]))
    a[j], a[b] = a[b], a[j]
    r[j], r[b] = r[b], r[j]
    p = a[j][j]
    a[j] = [x / p for x in a[j]]
    r[j] = [x / p for x in r[j]]
    for k in range(n):
        if k != j:
            e = a[k][j]
            if e:
                a[k] = [x - e * y for x, y in zip(a[k], a[j])]
                r[k] = [x - e * y for x, y in zip(r[k], r[j])]
print(r[0][0])
