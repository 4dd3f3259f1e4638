// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QObject>
#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

// Finds a widget of a window by its objectName, failing the test when absent.
template <typename T> T *findNamed(QObject *root, const QString &name)
{
    T *w = root->findChild<T *>(name);
    if (!w) ADD_FAILURE() << "no " << name.toStdString() << " of the expected type";
    return w;
}

// Types text into the focused widget as one key event carrying the text (works
// for Chinese, unlike keyClicks).
inline void typeText(QWidget *w, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}
