import math
v = sorted(math.sin(x) for x in range(1, 1000001))
print(v[0])
