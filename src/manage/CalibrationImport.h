// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QTreeWidget;
class QWidget;

// How an import ended. Whatever it was, the manager then marks changes as
// pending (isotope manager: canSave = true; trace-element manager:
// hasSaved = false), a cancelled dialog included.
struct ImportResult {
    bool cancelled = false; // the file dialog was cancelled: nothing read
    bool failed = false;    // a failure was shown; the rows read before it were kept
    int rowsAdded = 0;
};

// Asks for a tab-delimited text file and appends each of its lines to the list
// as a new row (state and icon "add", no key), field i in value column i (1..15
// for the isotope list with its dataset, error fields and DOI, 1..19 for the
// trace list with its terms, error fields and DOI). A file that
// cannot be read, or a line with more fields than the list has value columns,
// stops the import with a message; rows read before it stay.
ImportResult ImportFromText(QWidget *parent, QTreeWidget *list);
