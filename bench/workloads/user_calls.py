def f(x):
    return x + 1
i = 0
s = 0
while i < 200000:
    s = f(s)
    i = i + 1
print(s)
