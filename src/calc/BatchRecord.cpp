// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/BatchRecord.h"

#include "calc/BatchResultsModel.h"
#include "core/base/DoiText.h"
#include "core/thermometry/BatchTable.h"

#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>

using namespace Batch;

namespace BatchRecord {

namespace {

const QString kVersion = QStringLiteral("程序版本");
const QString kDatabase = QStringLiteral("数据库");
const QString kCalibrations = QStringLiteral("标定数");
const QString kDraws = QStringLiteral("抽样次数");
const QString kSeed = QStringLiteral("种子");
const QString kExact = QStringLiteral("精确1000lnα");
const QString kAt = QStringLiteral("计算时间");
const QString kYes = QStringLiteral("是");
const QString kNo = QStringLiteral("否");

// A typed cell as a number where it is a plain decimal ("0.5894", "-4.0"),
// shown with the decimals typed; any other text ("1e0", "n.d.") as it is.
Workbook::Cell inputCell(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral(R"(^-?\d+(?:\.(\d+))?$)"));
    const QRegularExpressionMatch m = plain.match(text);
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!m.hasMatch() || !ok) return Workbook::Cell::Text(text);
    return Workbook::Cell::Number(v, m.captured(1).isEmpty() ? -1 : int(m.captured(1).size()));
}

QVector<Workbook::Cell> texts(const QStringList &cells)
{
    QVector<Workbook::Cell> out;
    for (const QString &c : cells) out << Workbook::Cell::Text(c);
    return out;
}

// The reference a result's calibration cites: a derived pair cites its dataset's row.
QString referenceOf(const Calibration &c) { return c.derived ? c.reference : c.source; }

} // namespace

QList<QPair<QString, QString>> Parameters(const Run &run)
{
    QList<QPair<QString, QString>> p{
        {kVersion, QStringLiteral("Lorvane ") + QStringLiteral(LORVANE_VERSION)},
        {kDatabase, run.database},
        {kCalibrations, QString::number(run.calibrations)},
        {kDraws, QString::number(run.options.draws)},
        {kSeed, QString::number(run.options.seed)},
    };
    if (run.kind == Kind::Isotope) p.append({kExact, run.options.exact ? kYes : kNo});
    p.append({kAt, run.at.toString(Qt::ISODate)});
    return p;
}

std::vector<Reference> References(const Results &results)
{
    std::vector<Reference> refs;
    QHash<QString, size_t> at;
    QHash<QString, int> lastSample;
    for (const Result &r : results) {
        if (!r.cal || !Solved(r.status)) continue;
        const QString text = referenceOf(*r.cal).trimmed();
        if (text.isEmpty()) continue;
        auto found = at.constFind(text);
        if (found == at.constEnd()) {
            found = at.insert(text, refs.size());
            refs.push_back({text, r.cal->doi.isEmpty() ? Doi::In(text) : r.cal->doi, 0});
        }
        // A sample that used the reference twice (two rows citing it) counts once.
        const auto seen = lastSample.constFind(text);
        if (seen != lastSample.constEnd() && *seen == r.sample) continue;
        lastSample.insert(text, r.sample);
        ++refs[*found].samples;
    }
    return refs;
}

namespace {

// The year a reference names: the first 19xx or 20xx standing alone ("(1972)", ", 2016,").
QString yearIn(const QString &text)
{
    static const QRegularExpression year(QStringLiteral(R"((?:^|[\s(,])((?:19|20)\d\d)(?=[\s),;:.]|$))"));
    const QRegularExpressionMatch m = year.match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}

// A text inside a BibTeX field: its special characters escaped, braces balanced.
QString bibText(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\textbackslash{}");
        else if (QStringLiteral("{}&%$#_").contains(c))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('~'))
            out += QStringLiteral("\\textasciitilde{}");
        else if (c == QLatin1Char('^'))
            out += QStringLiteral("\\textasciicircum{}");
        else if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            out += QLatin1Char(' ');
        else
            out += c;
    }
    return out;
}

} // namespace

QByteArray Bibliography(const std::vector<Reference> &references, bool ris)
{
    QString out;
    QHash<QString, int> keys;
    static const QRegularExpression firstWord(QStringLiteral(R"(^\s*([A-Za-z][A-Za-z'-]*))"));
    for (const Reference &ref : references) {
        const QString year = yearIn(ref.text);
        const QString oneLine = QString(ref.text)
                                    .replace(QLatin1Char('\n'), QLatin1Char(' '))
                                    .replace(QLatin1Char('\r'), QLatin1Char(' '));
        if (ris) {
            out += QStringLiteral("TY  - GEN\r\nN1  - ") + oneLine + QStringLiteral("\r\n");
            if (!year.isEmpty()) out += QStringLiteral("PY  - ") + year + QStringLiteral("\r\n");
            if (!ref.doi.isEmpty()) out += QStringLiteral("DO  - ") + ref.doi + QStringLiteral("\r\n");
            out += QStringLiteral("ER  - \r\n\r\n");
            continue;
        }
        // The key in plain letters: "Daëron" gives "Daeron".
        QString plain = ref.text.left(64).normalized(QString::NormalizationForm_D);
        plain.remove(QRegularExpression(QStringLiteral("\\p{Mn}")));
        const QRegularExpressionMatch word = firstWord.match(plain);
        QString key = (word.hasMatch() ? word.captured(1).remove(QLatin1Char('\'')).remove(QLatin1Char('-'))
                                       : QStringLiteral("ref")) +
                      year;
        const int seen = keys.value(key, 0);
        keys.insert(key, seen + 1);
        if (seen > 0)
            key += QChar(QLatin1Char('a').unicode() + std::min(seen, 25)) +
                   (seen > 25 ? QString::number(seen) : QString());
        out += QStringLiteral("@misc{") + key + QStringLiteral(",\n  note = {") + bibText(oneLine) +
               QLatin1Char('}');
        if (!year.isEmpty()) out += QStringLiteral(",\n  year = {") + year + QLatin1Char('}');
        // A DOI is verbatim in BibTeX: written as it is, without braces that could unbalance it.
        if (!ref.doi.isEmpty())
            out += QStringLiteral(",\n  doi = {") +
                   QString(ref.doi).remove(QLatin1Char('{')).remove(QLatin1Char('}')) + QLatin1Char('}');
        out += QStringLiteral("\n}\n\n");
    }
    return out.toUtf8();
}

QByteArray Workbook(const BatchResultsModel &model, const Run &run)
{
    Workbook::NewSheet samples{kSamplesSheet, {texts(ColumnTitles(run.kind))}, true, {}};
    const SampleColumns &table = model.samples();
    for (int64_t r = 0; r < table.rowCount(); ++r) {
        QVector<Workbook::Cell> cells;
        for (int c = 0; c < table.columnCount(); ++c) cells << inputCell(table.text(r, c));
        samples.rows << cells;
    }
    Workbook::NewSheet results{kResultsSheet, {texts(BatchResultsModel::SheetTitles(run.kind))}, true, {}};
    for (int i = 0; i < model.rowCount(); ++i) results.rows << model.sheetCells(i);
    results.widths = {12, 16, 10, 10, 8, 40, 10, 9, 9, 9, 10, 10, 10, 10, 10, 16, 28};

    Workbook::NewSheet parameters{kParametersSheet,
                                  {texts({QCoreApplication::translate("BatchRecord", "项目"),
                                          QCoreApplication::translate("BatchRecord", "值")})},
                                  true,
                                  {16, 60}};
    for (const auto &[name, value] : Parameters(run))
        parameters.rows << QVector<Workbook::Cell>{Workbook::Cell::Text(name), inputCell(value)};

    Workbook::NewSheet references{
        kReferencesSheet,
        {texts({QCoreApplication::translate("BatchRecord", "文献"), QStringLiteral("DOI"),
                QCoreApplication::translate("BatchRecord", "样品数")})},
        true,
        {100, 32, 8}};
    for (const Reference &ref : References(model.results()))
        references.rows << QVector<Workbook::Cell>{Workbook::Cell::Text(ref.text),
                                                   Workbook::Cell::Text(ref.doi),
                                                   Workbook::Cell::Number(ref.samples)};
    return Workbook::Create({samples, results, parameters, references});
}

QByteArray Csv(const BatchResultsModel &model, const Run &run)
{
    QStringList out;
    for (const auto &[name, value] : Parameters(run))
        out << QStringLiteral("# ") + name + QStringLiteral(": ") + value;
    // The bounds' titles as the workbook's results sheet has them.
    const QStringList bounds{QCoreApplication::translate("BatchResultsModel", "95%下限(℃)"),
                             QCoreApplication::translate("BatchResultsModel", "95%上限(℃)"),
                             QCoreApplication::translate("BatchResultsModel", "另一解95%下限(℃)"),
                             QCoreApplication::translate("BatchResultsModel", "另一解95%上限(℃)")};
    QStringList titles = BatchResultsModel::Titles(run.kind) + bounds;
    out << titles.join(QLatin1Char(','));
    for (int i = 0; i < model.rowCount(); ++i) {
        QStringList fields;
        for (const QString &c : model.lineTexts(i) + model.boundTexts(i)) fields << CsvField(c);
        out << fields.join(QLatin1Char(','));
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") +
           (out.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

bool ReadOptions(const QString &path, Options *options, QString *why)
{
    const Workbook::Sheet sheet = Workbook::ReadSheet(path, kParametersSheet);
    if (!sheet.error.isEmpty()) return true; // a workbook of samples alone: nothing to restore
    for (const Workbook::SheetRow &row : sheet.rows) {
        const QString name = row.cells.value(0).trimmed(), value = row.cells.value(1).trimmed();
        bool ok = true;
        if (name == kDraws) {
            const int draws = value.toInt(&ok);
            ok = ok && draws >= 0 && draws <= kMaxDraws;
            if (ok) options->draws = draws;
        } else if (name == kSeed) {
            const qulonglong seed = value.toULongLong(&ok);
            if (ok) options->seed = seed;
        } else if (name == kExact) {
            ok = value == kYes || value == kNo;
            if (ok) options->exact = value == kYes;
        }
        if (!ok) {
            *why = QCoreApplication::translate("BatchRecord", "参数无效：%1：%2").arg(name, value.left(40));
            return false;
        }
    }
    return true;
}

} // namespace BatchRecord
