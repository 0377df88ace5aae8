// Number routines shared by the operators and the builtins.
#pragma once

namespace tesmora {

// a ^ b with the rule for a negative base: the power exists when the
// smallest i in 1..999 making i·b an integer is odd, and is negated when
// that integer is odd. Overflow and poles raise "операция '^' не определена".
double powerRule(double a, double b);

// The integer remainder of a % b and mod(a, b): both exact 32-bit
// integers, a >= 0, b > 0, else "Операция '%' не определена".
double integerRemainder(double a, double b);

// a / b, raising "деление на ноль" for b = 0.
double checkedDivide(double a, double b);

}  // namespace tesmora
