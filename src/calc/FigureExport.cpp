// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/FigureExport.h"

#include "core/base/SettingsStore.h"
#include "core/files/FileWrite.h"
#include "ui/Dialogs.h"

#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSpinBox>
#include <QSvgGenerator>

namespace FigureExport {

namespace {

// The layout is made at screen resolution and scaled to the figure, so that
// text keeps its point size on paper.
constexpr double kLayoutDpi = 96;
const QString kApp = QStringLiteral("Lorvane");
const QString kSection = QStringLiteral("Figure");

QSizeF layoutSize(const Size &size)
{
    return {size.widthMm / 25.4 * kLayoutDpi, size.heightMm / 25.4 * kLayoutDpi};
}

// A chart for paper: white, square, no frame or shadow.
void forPaper(QChart *chart)
{
    chart->setBackgroundRoundness(0);
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundPen(Qt::NoPen);
    chart->setDropShadowEnabled(false);
    chart->setMargins(QMargins(4, 4, 4, 4));
}

// The size dialog: width and height in mm, dpi for PNG.
bool askSize(QWidget *parent, bool png, Size *size)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmFigureSize"));
    dialog.setWindowTitle(QCoreApplication::translate("FigureExport", "图的尺寸"));
    auto *form = new QFormLayout(&dialog);
    auto *width = new QDoubleSpinBox(&dialog), *height = new QDoubleSpinBox(&dialog);
    for (QDoubleSpinBox *box : {width, height}) {
        box->setRange(kMinMm, kMaxMm);
        box->setDecimals(0);
        box->setSuffix(QStringLiteral(" mm"));
    }
    width->setObjectName(QStringLiteral("txtWidth"));
    height->setObjectName(QStringLiteral("txtHeight"));
    width->setValue(size->widthMm);
    height->setValue(size->heightMm);
    auto *dpi = new QSpinBox(&dialog);
    dpi->setObjectName(QStringLiteral("txtDpi"));
    dpi->setRange(kMinDpi, kMaxDpi);
    dpi->setValue(size->dpi);
    dpi->setEnabled(png);
    form->addRow(QCoreApplication::translate("FigureExport", "宽度"), width);
    form->addRow(QCoreApplication::translate("FigureExport", "高度"), height);
    form->addRow(QCoreApplication::translate("FigureExport", "分辨率(dpi)"), dpi);
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *ok =
        buttons->addButton(QCoreApplication::translate("FigureExport", "确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    buttons->addButton(QCoreApplication::translate("FigureExport", "取消"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("Command2"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (Dialogs::instance().execModal(&dialog) != QDialog::Accepted) return false;
    size->widthMm = width->value();
    size->heightMm = height->value();
    size->dpi = dpi->value();
    return true;
}

double stored(const QString &key, double fallback, double lo, double hi)
{
    bool ok = false;
    const double v = SettingsStore::GetSetting(kApp, kSection, key).toDouble(&ok);
    return ok && v >= lo && v <= hi ? v : fallback;
}

} // namespace

QByteArray Render(const Fill &fill, Format format, const Size &size, QString *why)
{
    if (!(size.widthMm >= kMinMm && size.widthMm <= kMaxMm && size.heightMm >= kMinMm &&
          size.heightMm <= kMaxMm && size.dpi >= kMinDpi && size.dpi <= kMaxDpi)) {
        *why = QCoreApplication::translate("FigureExport", "尺寸超出范围");
        return {};
    }
    QGraphicsScene scene;
    auto *chart = new QChart;                       // the scene owns it
    chart->legend()->setAlignment(Qt::AlignBottom); // unless the chart's own filling says otherwise
    scene.addItem(chart);
    fill(chart);
    forPaper(chart);
    const QSizeF logical = layoutSize(size);
    chart->setGeometry(QRectF(QPointF(0, 0), logical));
    const QRectF source(QPointF(0, 0), logical);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool ok = false;
    if (format == Format::Png) {
        const QSize pixels(qRound(size.widthMm / 25.4 * size.dpi), qRound(size.heightMm / 25.4 * size.dpi));
        QImage image(pixels, QImage::Format_ARGB32);
        if (!image.isNull()) {
            image.fill(Qt::white);
            image.setDotsPerMeterX(qRound(size.dpi / 0.0254));
            image.setDotsPerMeterY(qRound(size.dpi / 0.0254));
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)), source);
            ok = painter.end() && image.save(&buffer, "PNG");
        }
    } else if (format == Format::Pdf) {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QSizeF(size.widthMm, size.heightMm), QPageSize::Millimeter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("Lorvane"));
        writer.setTitle(chart->title());
        QPainter painter;
        if (painter.begin(&writer)) {
            painter.setRenderHint(QPainter::Antialiasing);
            scene.render(&painter, QRectF(0, 0, writer.width(), writer.height()), source);
            ok = painter.end();
        }
    } else {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(logical.toSize());
        generator.setViewBox(source);
        generator.setResolution(int(kLayoutDpi));
        generator.setTitle(chart->title());
        QPainter painter;
        if (painter.begin(&generator)) {
            painter.setRenderHint(QPainter::Antialiasing);
            scene.render(&painter, source, source);
            ok = painter.end();
        }
    }
    if (!ok || buffer.data().isEmpty()) {
        *why = QCoreApplication::translate("FigureExport", "无法绘制图");
        return {};
    }
    return buffer.data();
}

QString Export(QWidget *parent, const Fill &fill)
{
    Dialogs::FileRequest request;
    request.title = QCoreApplication::translate("FigureExport", "导出图");
    request.kind = QStringLiteral("chart");
    request.filter = QCoreApplication::translate(
        "FigureExport", "PDF 文件(*.pdf)|*.pdf|SVG 图像(*.svg)|*.svg|PNG 图像(*.png)|*.png");
    const Dialogs::FileResult file = Dialogs::instance().saveFile(parent, request);
    if (file.cancelled) return QString();
    const QStringList suffixes{QStringLiteral("pdf"), QStringLiteral("svg"), QStringLiteral("png")};
    const QString suffix = QFileInfo(file.fileName).suffix().toLower();
    int chosen = int(suffixes.indexOf(suffix));
    QString path = file.fileName;
    if (chosen < 0) {
        chosen = qBound(0, file.filterIndex - 1, 2);
        path += QLatin1Char('.') + suffixes[chosen];
    }
    const Format format = chosen == 0 ? Format::Pdf : chosen == 1 ? Format::Svg : Format::Png;

    Size size;
    size.widthMm = stored(QStringLiteral("widthMm"), size.widthMm, kMinMm, kMaxMm);
    size.heightMm = stored(QStringLiteral("heightMm"), size.heightMm, kMinMm, kMaxMm);
    size.dpi = int(stored(QStringLiteral("dpi"), size.dpi, kMinDpi, kMaxDpi));
    if (!askSize(parent, format == Format::Png, &size)) return QString();
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("widthMm"), QString::number(size.widthMm));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("heightMm"), QString::number(size.heightMm));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("dpi"), QString::number(size.dpi));

    QString why;
    const QByteArray bytes = Render(fill, format, size, &why);
    if (bytes.isEmpty()) {
        MsgBox(parent, QCoreApplication::translate("FigureExport", "%1：%2").arg(why, path));
        return QString();
    }
    if (!FileWrite::WriteWhole(path, bytes, &why)) {
        MsgBox(parent, QCoreApplication::translate("FigureExport", "无法写入文件：%1\n%2").arg(path, why));
        return QString();
    }
    return path;
}

} // namespace FigureExport
