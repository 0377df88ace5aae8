s = 0
for x in range(1, 1000001):
    s = s + x
print(s)
