// Triple-double numbers for the accurate paths: a value as h + m + l, kept to
// about 2^-150 relative by summing every term of an operation exactly and
// renormalising. Slow (hundreds of operations each) and rarely run.
#pragma once

#include "numerics/Exact.h"

namespace qvnum {

struct Triple {
    double h, m, l;
};

// The sum of t[0..n) as a triple: three passes of exact two-sums from the
// smallest term up, each leaving the rounded sum on top and exact errors below.
inline Triple Renorm(double* t, int n)
{
    for (int top = 0; top < 3 && top < n - 1; ++top) {
        double s = t[n - 1];
        for (int i = n - 2; i >= top; --i) {
            const Pair<double> p = TwoSum(t[i], s);
            s = p.h;
            t[i + 1] = p.l;
        }
        t[top] = s;
    }
    double l = 0.0;
    for (int i = n - 1; i >= 2; --i) l += t[i];
    return {t[0], n > 1 ? t[1] : 0.0, l};
}

inline Triple Add(const Triple& a, const Triple& b)
{
    double t[6] = {a.h, b.h, a.m, b.m, a.l, b.l};
    return Renorm(t, 6);
}

inline Triple Mul(const Triple& a, double d)
{
    const Pair<double> p = TwoProd(a.h, d), q = TwoProd(a.m, d);
    double t[5] = {p.h, p.l, q.h, q.l, a.l * d};
    return Renorm(t, 5);
}

// Products below about 2^-159 of the result are dropped.
inline Triple Mul(const Triple& a, const Triple& b)
{
    const Pair<double> p = TwoProd(a.h, b.h), q = TwoProd(a.h, b.m), r = TwoProd(a.m, b.h);
    double t[9] = {p.h, p.l, q.h, r.h, q.l, r.l, a.h * b.l, a.l * b.h, a.m * b.m};
    return Renorm(t, 9);
}

inline Triple Negate(const Triple& a) { return {-a.h, -a.m, -a.l}; }

inline Triple FromTable(const double (&v)[3]) { return {v[0], v[1], v[2]}; }

}  // namespace qvnum
