// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ChildForm.h"
#include "ui/FormLayout.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>

// A child window as the calculators and managers are built: a caption, a design
// size, one list, an input box, layout restored on load and stored on unload.
// It can refuse to close, as a manager whose user cancels the save question.
class StandInForm : public ChildForm {
  public:
    explicit StandInForm(const QString &caption)
    {
        setWindowTitle(caption);
        resize(320, 210);
        text = new QLineEdit(this);
        text->setObjectName(QStringLiteral("Text1"));
        text->setGeometry(8, 8, 200, 24);
        list = new QTreeWidget(this);
        list->setObjectName(QStringLiteral("ListView1"));
        list->setRootIsDecorated(false);
        list->setColumnCount(3);
        list->setGeometry(8, 40, 300, 120);
        for (int i = 0; i < 3; ++i) list->setColumnWidth(i, 60 + 10 * i);
        button = new QPushButton(QStringLiteral("go"), this);
        button->setObjectName(QStringLiteral("Command1"));
        button->setGeometry(8, 170, 80, 28);
        connect(button, &QPushButton::clicked, this, [this] {
            if (onClick) onClick();
        });
    }

    int loads = 0;
    int unloads = 0;
    int queries = 0;
    bool refuseClose = false;
    QLineEdit *text;
    QTreeWidget *list;
    QPushButton *button;
    std::function<void()> onClick;

  protected:
    void Form_Load() override
    {
        ++loads;
        mdlFunction::LoadFormLayout(this);
    }
    bool Form_QueryUnload() override
    {
        ++queries;
        return !refuseClose;
    }
    void Form_Unload() override
    {
        ++unloads;
        mdlFunction::SaveFormLayout(this);
    }
};
