// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/RegisterForms.h"

#include "ui/FormFactory.h"

#include "calc/frmBatch.h"
#include "calc/frmCalculateIso.h"
#include "calc/frmCalculateTrace.h"
#include "calc/frmGLS.h"
#include "calc/frmOlivineLiquid.h"
#include "manage/frmIsoMgr.h"
#include "manage/frmTraceMgr.h"
#include "shell/frmIsoAbout.h"
#include "shell/frmOlivineAbout.h"
#include "shell/frmTraceAbout.h"

// One line per child window; each window's header is included next to its line.

void RegisterAllForms()
{
    FormFactory::Register(QStringLiteral("frmCalculateIso"), [] { return new frmCalculateIso(); });
    FormFactory::Register(QStringLiteral("frmCalculateTrace"), [] { return new frmCalculateTrace(); });
    FormFactory::Register(QStringLiteral("frmGLS"), [] { return new frmGLS(); });
    FormFactory::Register(QStringLiteral("frmOlivineLiquid"), [] { return new frmOlivineLiquid(); });
    FormFactory::Register(QStringLiteral("frmIsoBatch"), [] { return new frmIsoBatch(); });
    FormFactory::Register(QStringLiteral("frmTraceBatch"), [] { return new frmTraceBatch(); });
    FormFactory::Register(QStringLiteral("frmIsoMgr"), [] { return new frmIsoMgr(); });
    FormFactory::Register(QStringLiteral("frmTraceMgr"), [] { return new frmTraceMgr(); });
    FormFactory::RegisterModal(QStringLiteral("frmIsoAbout"), &frmIsoAbout::ShowModal);
    FormFactory::RegisterModal(QStringLiteral("frmTraceAbout"), &frmTraceAbout::ShowModal);
    FormFactory::RegisterModal(QStringLiteral("frmOlivineAbout"), &frmOlivineAbout::ShowModal);
}
