// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

class CalibrationManager;
class QGroupBox;
class QLineEdit;
class QPushButton;

// What the two edit dialogs share: a read-only type or element box, the value
// boxes that map onto the list row's columns, the remembered texts of modify
// mode, the checks, and the write into the manager's list. The dialog never
// touches the database; the manager's save does.
class CalibrationEditDialog : public QDialog {
    Q_OBJECT
  public:
    // A box of a list column past the value boxes, named for itself; it follows
    // them as field(valueCount + 1), field(valueCount + 2), ...
    struct ExtraBox {
        QString name;
        int column = 0;        // the list column it shows and writes
        bool optional = false; // a number or empty (the default); otherwise any text
    };

    // 0 add, 1 modify; the manager always passes style 1 (modal).
    void ShowDialog(int32_t mode, int style = 1);

    QLineEdit *field(int index) const { return fields_.at(index); }
    QPushButton *Command1() const { return command1_; }
    QPushButton *Command2() const { return command2_; }

  protected:
    struct Rules {
        QString caption;
        QString frameName;
        QString fieldName;           // "Text1" / "Text2": boxes are named Text1_0, Text1_1, ...
        int valueCount = 0;          // boxes after box 0
        QList<int> required;         // boxes that must not be empty
        QList<int> numeric;          // boxes that must hold a number
        bool trimmedCompare = false; // compare boxes without surrounding blanks when judging a change
        QList<ExtraBox> extra = {};
    };

    CalibrationEditDialog(CalibrationManager *manager, Rules rules);

    // The type or element a new row is stored under.
    virtual QString ownerForNewRow() const = 0;
    // What the boxes say together, once each holds what it may: the box to
    // point at and the message, or nullptr when nothing is wrong.
    virtual QLineEdit *crossCheck(QString *message) const;

    CalibrationManager *manager() const { return manager_; }
    // The text the modified row holds in a list column (1-based); "" for a new row.
    QString rowText(int column) const { return rowTexts_.value(column - 1); }
    QGroupBox *frame() const { return frame_; }

  private:
    bool IsChanged() const;
    bool ValidateInput();
    void refuse(QLineEdit *box, const QString &message);
    void Command1_Click();
    void Command2_Click();

    CalibrationManager *manager_;
    Rules rules_;
    QGroupBox *frame_;
    QList<QLineEdit *> fields_;
    QList<int> columns_; // the list column of each box (0: the type or element)
    QStringList remembered_;
    QStringList rowTexts_; // the modified row's values, columns the boxes do not show included
    QPushButton *command1_;
    QPushButton *command2_;
};
