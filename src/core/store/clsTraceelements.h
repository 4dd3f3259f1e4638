// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/store/KeyedCollection.h"
#include "core/store/clsTraceelement.h"

#include <QStringList>

class Connection;

// The trace-element thermometers of one query, keyed "A" + id, and the look-ups
// that fill the calculator's lists and the manager's tree.
class clsTraceelements : public KeyedCollection<clsTraceelement> {
  public:
    // Minerals A of an element (or of all elements); with minA, the minerals B
    // paired with it. More than 32,767 names raise the overflow error.
    QStringList FindMineral(Connection &conn, const QString &element, const QString &minA = {});

    // Element, minerals containing the given texts ("%" and "_" are wildcards);
    // only rows with ID_N above 0. Never raises: a rejected statement leaves the
    // catalogue empty, an unreadable field keeps its default and the row is added.
    clsTraceelements &FuzzyQuery(Connection &conn, const QString &strElement = {},
                                 const QString &strMinA = {}, const QString &strMinB = {});

    QStringList FindElementType(Connection &conn);

    // Exact search; the arguments are SQL literals, quotes included. Errors pass.
    clsTraceelements &Find(Connection &conn, const QString &strElement = {}, const QString &strMinA = {},
                           const QString &strMinB = {});
};
