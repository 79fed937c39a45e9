#pragma once
// Numbers as Jet writes, reads and rounds them. A double is taken at the 15
// significant digits Jet shows of it, so 0.1 + 0.2 reads as 0.3 and 2.675
// rounds as the decimal 2.675 does.
#include <QString>
#include <QStringView>

namespace JetNumbers {

// CStr of a number: up to 15 significant digits, no trailing zeros; scientific
// ("1E+15", "1.5E-06") from 1E+15 up and below 1E-05.
QString text(double x);

// Numeric text as Jet converts it to a number: blanks around, an optional sign,
// digits with an optional point and exponent, or "&H"/"&O" digits. False when
// the text is not a number.
bool parse(QStringView text, double& out);

enum class Rounding { HalfUp, HalfEven };

// A non-negative number as decimal digits with `decimals` places after the
// point: `whole` has no leading zeros ("0" for none), `fraction` has exactly
// `decimals` digits.
struct Fixed {
    QString whole;
    QString fraction;
};
Fixed fixed(double absValue, int decimals, Rounding rounding);

// A positive number as `count` significant digits d1d2... meaning d1.d2... x 10^exponent.
struct Scientific {
    QString digits;
    int exponent = 0;
};
Scientific scientific(double absValue, int count);

// Jet's Round: halves go to the even neighbour, on the decimal digits.
double round(double x, int decimals);

} // namespace JetNumbers
