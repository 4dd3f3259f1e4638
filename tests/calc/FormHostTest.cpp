// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FormHost.h"
#include "calc/frmCalculateIso.h"
#include "calc/frmCalculateTrace.h"
#include "calc/frmGLS.h"
#include "support/core/TempDatabase.h"
#include "support/ui/Widgets.h"
#include "ui/FormFactory.h"

#include <QAction>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

// A frame that writes down what the children ask of it.
class RecordingHost : public FormHost {
  public:
    RecordingHost() { FormHost::install(this); }
    ChildForm *ShowForm(const QString &formName, bool closeActive) override
    {
        asked << formName + (closeActive ? QStringLiteral(" closing") : QStringLiteral(" keeping"));
        return nullptr;
    }
    QStringList asked;
};

template <class Form> void clickDatabase(const QString &wanted)
{
    TempDatabase db(true);
    RecordingHost host;
    auto *form = new Form();
    QPointer<Form> guard(form);
    form->Load();
    findNamed<QAction>(form, QStringLiteral("database"))->trigger();
    // The calculator closes itself and asks for the manager without closing anything else.
    EXPECT_TRUE(guard.isNull() || guard->isUnloaded());
    EXPECT_EQ(host.asked, QStringList{wanted + QStringLiteral(" keeping")});
    delete guard.data();
}

} // namespace

TEST(FormHost, TheCalculatorsAskTheHostForTheirManagerByName)
{
    clickDatabase<frmCalculateIso>(QStringLiteral("frmIsoMgr"));
    clickDatabase<frmCalculateTrace>(QStringLiteral("frmTraceMgr"));
    // A host that has gone is no longer asked.
    {
        RecordingHost gone;
    }
    EXPECT_EQ(FormHost::current(), nullptr);
}

TEST(FormHost, AboutWindowsOpenByNameOverTheCalculator)
{
    TempDatabase db(true);
    QList<QPair<QString, QWidget *>> shown;
    for (const char *name : {"frmIsoAbout", "frmTraceAbout", "frmOlivineAbout"}) {
        const QString formName = QString::fromLatin1(name);
        FormFactory::RegisterModal(formName, [&shown, formName](QWidget *parent) {
            shown << qMakePair(formName, parent);
            return 1;
        });
    }
    frmCalculateIso iso;
    iso.Load();
    frmCalculateTrace trace;
    trace.Load();
    frmGLS olivine;
    olivine.Load();
    for (QWidget *form :
         {static_cast<QWidget *>(&iso), static_cast<QWidget *>(&trace), static_cast<QWidget *>(&olivine)})
        findNamed<QAction>(form, QStringLiteral("about"))->trigger();
    for (const char *name : {"frmIsoAbout", "frmTraceAbout", "frmOlivineAbout"})
        FormFactory::RegisterModal(QString::fromLatin1(name), nullptr);

    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0], qMakePair(QStringLiteral("frmIsoAbout"), static_cast<QWidget *>(&iso)));
    EXPECT_EQ(shown[1], qMakePair(QStringLiteral("frmTraceAbout"), static_cast<QWidget *>(&trace)));
    EXPECT_EQ(shown[2], qMakePair(QStringLiteral("frmOlivineAbout"), static_cast<QWidget *>(&olivine)));
    // A name nobody registered shows nothing.
    EXPECT_EQ(FormFactory::ShowModal(QStringLiteral("frmIsoAbout"), &iso), -1);
}
