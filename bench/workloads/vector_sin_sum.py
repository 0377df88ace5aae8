import math
print(sum(math.sin(x) for x in range(1, 1000001)))
