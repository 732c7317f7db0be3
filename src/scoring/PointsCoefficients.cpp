#include "scoring/PointsCoefficients.h"

#include <QStringView>

namespace vastrel {

namespace {

struct CoefficientRow {
    const char16_t* timeKey;
    Coefficient men;
    Coefficient women;
};

// Listed by distance length; LoadPointsCoefficients files them under their column order.
constexpr std::array<CoefficientRow, kDistanceCount> kTable = {{
    {u"60m", {13.578, 15.292}, {10.762, 17.185}},
    {u"100m", {5.2805, 24.526}, {4.2302, 27.407}},
    {u"200m", {1.3015, 49.407}, {1.0, 56.36}},
    {u"400m", {0.27741, 107.009}, {0.2045, 124.642}},
    {u"800m", {0.054476, 241.485}, {0.03785, 289.771}},
    {u"1000m", {0.031319, 318.491}, {0.021099, 388.035}},
    {u"1500m", {0.012749, 499.187}, {0.0088769, 598.234}},
    {u"3000m", {0.002634, 1098.235}, {0.0017824, 1335.057}},
    {u"5000m", {0.00087638, 1903.94}, {0.00059416, 2312.325}},
    {u"10km", {0.0001947, 4039.489}, {0.00012948, 4953.333}},
}};

} // namespace

bool PointsCoefficients::IsComplete() const {
    for (const auto& sex : values_) {
        for (const Coefficient& c : sex) {
            if (c.a <= 0 || c.b <= 0) {
                return false;
            }
        }
    }
    return true;
}

void LoadPointsCoefficients(PointsCoefficients& coefficients) {
    for (const CoefficientRow& row : kTable) {
        for (int i = 0; i < kDistanceCount; ++i) {
            if (QStringView(row.timeKey) == QStringView(kDistances[static_cast<std::size_t>(i)].timeKey)) {
                coefficients.Set(Sex::Men, i, row.men);
                coefficients.Set(Sex::Women, i, row.women);
            }
        }
    }
}

} // namespace vastrel
