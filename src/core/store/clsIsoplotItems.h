// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/store/KeyedCollection.h"
#include "core/store/clsIsoItem.h"

#include <QStringList>

class Connection;

// The isotope thermometers of one query, keyed "A" + id, and the look-ups that
// fill the calculator's and the manager's choice lists. Database errors pass to
// the caller, except in Find.
class clsIsoplotItems : public KeyedCollection<clsIsoItem> {
  public:
    // True when some thermometer uses this type.
    bool HasIsotopeRecord(Connection &conn, const QString &isotopename);

    // Exact type, minerals containing the given texts ("%" and "_" are
    // wildcards); only rows with ID_N above 0. A NULL field raises after the
    // rows before it have been added.
    clsIsoplotItems &FuzzyQuery(Connection &conn, const QString &strIsoTypeName = {},
                                const QString &strMinA = {}, const QString &strMinB = {});

    // Distinct type names in use. More than 32,767 names raise the overflow error.
    QStringList FindIsoType(Connection &conn);
    // Minerals A of a type (or of all types); with minA, the minerals B paired with it.
    QStringList FindMineral(Connection &conn, const QString &isotype, const QString &minA = {});

    // Exact search; the arguments are SQL literals, quotes included. Never
    // raises: a failure shows as an empty or incomplete result.
    clsIsoplotItems &Find(Connection &conn, const QString &strIsoTypeName = {}, const QString &strMinA = {},
                          const QString &strMinB = {});
};
