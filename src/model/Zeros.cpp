#include "model/Zeros.h"

#include <algorithm>
#include <cmath>

void Zeros::addZero(std::vector<double>& zeros, double t) {
    std::erase_if(zeros, [t](double zero) { return !(std::fabs(zero - t) > 3.0); });
    zeros.push_back(t);
    std::sort(zeros.begin(), zeros.end());
}

double Zeros::nextZero(const std::vector<double>& zeros, double t, std::optional<double> duration) {
    std::optional<double> next;
    for (double zero : zeros)
        if (zero >= t && (!next || zero < *next))
            next = zero;
    return next.value_or(duration.value_or(0.0));
}

double Zeros::previousZero(const std::vector<double>& zeros, double t) {
    double previous = 0.0;
    for (double zero : zeros) {
        if (zero > t)
            break;
        previous = zero;
    }
    return previous;
}
