// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

// lorvane-calc run as a user runs it, with what it printed and its exit code.
struct CalcRun {
    int code = -1; // -2: it did not exit normally
    QStringList out;
    QString err;
};

// shellPrefix, when given, is bash put before the program (limits, traps).
// It speaks Chinese, whatever the locale the tests run under, unless `language`
// (as LANGUAGE takes it) says otherwise.
inline CalcRun RunLorvaneCalc(const QStringList &args, const QString &shellPrefix = QString(),
                              const QString &language = QStringLiteral("zh_CN"))
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANGUAGE"), language);
    p.setProcessEnvironment(env);
    const QString program = QStringLiteral(LORVANE_BIN_DIR "/lorvane-calc");
    if (shellPrefix.isEmpty()) {
        p.start(program, args);
    } else {
        QStringList quoted;
        for (const QString &a : args) quoted << QLatin1Char('\'') + a + QLatin1Char('\'');
        p.start(QStringLiteral("/bin/bash"),
                {QStringLiteral("-c"), shellPrefix + QStringLiteral(" exec '") + program +
                                           QStringLiteral("' ") + quoted.join(QLatin1Char(' '))});
    }
    CalcRun r;
    if (!p.waitForFinished(60000)) return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// Writes a file of the test's folder and returns its path.
inline QString WriteTestFile(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(dir.filePath(name));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return f.fileName();
}
