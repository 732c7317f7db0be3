#pragma once

#include "table/CompetitionLayout.h"

#include <array>

namespace vastrel {

enum class Sex { Men, Women };

// A and B of the points formula floor(A * (B - T)^2) per sex and distance; B is the
// effective time that scores nothing.
struct Coefficient {
    double a = 0;
    double b = 0;
};

class PointsCoefficients {
public:
    const Coefficient& At(Sex sex, int distanceIndex) const {
        return values_[static_cast<std::size_t>(sex)][static_cast<std::size_t>(distanceIndex)];
    }
    void Set(Sex sex, int distanceIndex, Coefficient c) {
        values_[static_cast<std::size_t>(sex)][static_cast<std::size_t>(distanceIndex)] = c;
    }
    bool IsComplete() const;

private:
    std::array<std::array<Coefficient, kDistanceCount>, 2> values_{};
};

// Fills all 40 values; indexes follow kDistances.
void LoadPointsCoefficients(PointsCoefficients& coefficients);

} // namespace vastrel
