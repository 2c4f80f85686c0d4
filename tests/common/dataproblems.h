#pragma once

// A problem that a store reports, readable when QCOMPARE finds another one.

#include "widgets/dataproblem.h"

#include <QtTest>

inline char *toString(const DataProblem &problem)
{
    return QTest::toString(QStringLiteral("code %1, path %2, copy %3, count %4, reason %5")
                               .arg(int(problem.code))
                               .arg(problem.path, problem.copy)
                               .arg(problem.count)
                               .arg(problem.reason));
}
