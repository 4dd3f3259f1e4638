// SPDX-License-Identifier: GPL-3.0-or-later
// lorvane-calc: the batch thermometry of the batch windows, from the command
// line, on the same database and the same sample files.
#include "core/base/AppError.h"
#include "core/base/Language.h"
#include "core/base/NumberText.h"
#include "core/base/ProgramFolders.h"
#include "core/database/Connection.h"
#include "core/files/FileWrite.h"
#include "core/store/Names.h"
#include "core/thermometry/BatchRun.h"
#include "core/thermometry/OlivineTable.h"
#include "core/thermometry/RootRule.h"
#include "core/thermometry/SampleColumns.h"
#include "core/thermometry/SampleStream.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QStringList>
#include <QTextStream>
#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <thread>

namespace {

const char kHelp[] = "Usage:\n"
                     "  lorvane-calc iso SAMPLES [-o OUT.csv] [--draws N] [--seed S] [--exact] [--db PATH]\n"
                     "  lorvane-calc trace SAMPLES [-o OUT.csv] [--draws N] [--seed S] [--db PATH]\n"
                     "  lorvane-calc olivine SAMPLES [-o OUT.csv] [--model M]\n"
                     "\n"
                     "Computes equilibrium temperatures for every sample of SAMPLES with every\n"
                     "calibration of its isotope type (or element) and mineral pair in the Lorvane\n"
                     "database; a calibration stored for the reversed pair serves with its\n"
                     "constants negated.\n"
                     "\n"
                     "SAMPLES is a .csv, tab-separated (.tsv, .txt) or .xlsx file whose first row\n"
                     "names the columns, in any order, by the batch window's titles or in English:\n"
                     "  iso:   sample, type, mineral_a, mineral_b, delta_a, sigma_a, delta_b, sigma_b\n"
                     "  trace: sample, element, mineral_a, mineral_b, conc_a, sigma_a, conc_b, sigma_b, K,\n"
                     "         P_kbar, sigma_P, a_TiO2, sigma_aTiO2, a_SiO2, sigma_aSiO2, X, sigma_X\n"
                     "An empty sigma means no uncertainty for that value. A one-phase isotope\n"
                     "calibration (mineral_b 单矿物, the clumped-isotope type 团簇同位素(Δ47)) takes the\n"
                     "phase's own value, Δ47, in delta_a; delta_b may be empty. For trace, K is formed\n"
                     "from conc_a/conc_b, or taken from the K column when no concentration is given;\n"
                     "a one-mineral thermometer (mineral_b 单矿物) takes conc_a itself as K.\n"
                     "P_kbar (pressure, kbar) and X (the calibration's composition variable, named\n"
                     "in its remark) are needed by the calibrations that take them; the activities\n"
                     "a_TiO2 and a_SiO2 (above 0, at most 1) are 1 when not given. Their sigmas\n"
                     "enter the uncertainty like those of the concentrations.\n"
                     "\n"
                     "Options:\n"
                     "  -o OUT.csv   write the results there (default: standard output)\n"
                     "  --draws N    Monte Carlo draws for the 95% interval (default 10000; 0: none;\n"
                     "               at most 1000000)\n"
                     "  --seed S     seed of the draws (default 1), so a result can be reproduced\n"
                     "  --exact      iso: use 1000*ln((1000+dA)/(1000+dB)) in place of dA - dB\n"
                     "  --db PATH    the database to read (default: Vantor.mdb beside the program,\n"
                     "               or the user's database of an installed program); read only\n"
                     "  --help       this text\n"
                     "\n"
                     "Output: CSV (UTF-8), one line per sample and calibration, temperatures in\n"
                     "degrees Celsius with one decimal, empty fields where there is no value.\n"
                     "  iso:   sample,type,mineral_a,mineral_b,A,B,C,source,RESULTS,derived,\n"
                     "         sigma_T_analytical_C,sigma_T_calibration_C\n"
                     "  trace: sample,element,mineral_a,mineral_b,A,B,log_type,remark,K,RESULTS,\n"
                     "         P_kbar,a_TiO2,a_SiO2,X,conditions,sigma_T_analytical_C,\n"
                     "         sigma_T_calibration_C\n"
                     "  both:  ...,mineral_a_en,mineral_b_en at the end of every line\n"
                     "Types and minerals may be given in Chinese, in English or by their IMA\n"
                     "symbol (石英, quartz, Qz), in any case; the output names them as the\n"
                     "database stores them, and in English in mineral_a_en and mineral_b_en.\n"
                     "RESULTS: T_C,sigma_T_C,T_lo95_C,T_hi95_C,draws_failed,\n"
                     "         T2_C,sigma_T2_C,T2_lo95_C,T2_hi95_C,T2_draws_failed,range,status\n"
                     "sigma_T_C is the analytical part (from the sigmas of the file) and the\n"
                     "calibration's own (from the published covariance of its coefficients, or\n"
                     "their published σ), added in quadrature; both parts are given as well.\n"
                     "The Monte Carlo draws take the coefficients from that covariance as well.\n"
                     "For iso, derived is yes for a pair two rows of one internally consistent\n"
                     "dataset determine through a shared reference (水 or 石英), never stored: its\n"
                     "source names the two rows (由DBOXYGEN 2.0.3导出：X–水 − Y–水); such pairs come\n"
                     "after the stored ones.\n"
                     "For trace, P_kbar, a_TiO2, a_SiO2 and X are the conditions the calibration\n"
                     "used (empty where it takes none), and conditions lists, separated by ';':\n"
                     "  pressure_out_of_range, composition_out_of_range  outside the span the\n"
                     "                  calibration's remark states; aTiO2=1, aSiO2=1  the activity\n"
                     "                  was not given; missing_P_kbar, missing_X  (status missing_input)\n"
                     "T2_C is a second temperature that fits the calibration's range for the same\n"
                     "value (near the curve's turning point), with its own uncertainty; draws are\n"
                     "solved on the branch of the result they belong to, and draws_failed counts\n"
                     "those that found no temperature there (the interval is built from the rest).\n"
                     "status is one of\n"
                     "  ok              one temperature, inside the calibration's stated range\n"
                     "  two_solutions   T_C and T2_C both fit the range\n"
                     "  no_range        the calibration states no range; T_C lies in 0-1200 C\n"
                     "  out_of_range    outside the stated range (or 0-1200 C where none is stated)\n"
                     "  no_solution     no positive temperature\n"
                     "  missing_input   the calibration takes a pressure or X the sample lacks\n"
                     "  no_calibration  the pair has no calibration\n"
                     "  bad_input       never written: a bad cell stops the run (exit status 1)\n"
                     "\n"
                     "\n"
                     "olivine: olivine-liquid pairs from microprobe oxides (wt%), one pair per row.\n"
                     "Columns, in any order, by the window's titles or as Thermobar names them:\n"
                     "  sample, SiO2_Ol TiO2_Ol Al2O3_Ol FeOt_Ol MnO_Ol MgO_Ol CaO_Ol NiO_Ol,\n"
                     "  SiO2_Liq TiO2_Liq Al2O3_Liq FeOt_Liq MnO_Liq MgO_Liq CaO_Liq Na2O_Liq K2O_Liq\n"
                     "  Cr2O3_Liq P2O5_Liq H2O_Liq, P_kbar, Fe3Fet_Liq\n"
                     "(FeO*, FeOT and FeOtot are read as FeOt). The liquid is recalculated\n"
                     "anhydrous without Cr2O3 and P2O5; NiO is read but not used; Fe3Fet_Liq\n"
                     "(0 when empty) enters K_D and the equilibrium olivine only; P is in kbar.\n"
                     "Output: sample,T_B93_C,T_eq19_C,T_HZ_C,T_eq21_C,T_eq22_C,T_ultramafic_C,\n"
                     "  T_mafic_C,KD,KD_low,KD_high,equilibrium,Fo,Fo_eq,notes\n"
                     "  B93 Beattie 1993; eq19, eq21, eq22 Putirka 2008; HZ Beattie with\n"
                     "  Herzberg & O'Hara 2002; ultramafic and mafic: the two olivine-melt\n"
                     "  calibrations of the fraction window, from the recalculated fractions.\n"
                     "  equilibrium is yes when KD lies in KD_low-KD_high of the model:\n"
                     "  --model 0 Roeder & Emslie 1970 0.30+-0.03 (default), 1 Matzen et al. 2011\n"
                     "  0.34+-0.012, 2 Shea et al. 2022 0.335+-0.01, 3 Putirka 2016 8a\n"
                     "  0.33+-0.044, 4 Putirka 2016 9a 0.29+-0.051 (total iron).\n"
                     "  No calibrated P-T-H2O ranges come with these equations, so none is flagged.\n"
                     "  notes: Fe3Fet=0 when Fe3Fet_Liq was empty. A bad cell stops the run.\n"
                     "\n"
                     "Exit status: 0 success; 1 unreadable input (the message names the file, line\n"
                     "and column) or bad arguments; 2 the database cannot be opened.\n";

void err(const QString &text) { std::fprintf(stderr, "lorvane-calc: %s\n", text.toLocal8Bit().constData()); }

// One decimal as the window shows it; never "-0.0".
QString number(double v) { return Num::Str(float(v)); }

QString statusCode(Batch::Status s);

// The same as bytes, for the output lines.
const QByteArray &statusBytes(Batch::Status s)
{
    static const QByteArray codes[] = {statusCode(Batch::Status::Ok).toUtf8(),
                                       statusCode(Batch::Status::OutOfRange).toUtf8(),
                                       statusCode(Batch::Status::TwoSolutions).toUtf8(),
                                       statusCode(Batch::Status::NoRange).toUtf8(),
                                       statusCode(Batch::Status::NoSolution).toUtf8(),
                                       statusCode(Batch::Status::MissingInput).toUtf8(),
                                       statusCode(Batch::Status::NoCalibration).toUtf8(),
                                       statusCode(Batch::Status::BadInput).toUtf8()};
    return codes[int(s)];
}

// The status as the CSV writes it.
QString statusCode(Batch::Status s)
{
    switch (s) {
    case Batch::Status::Ok: return QStringLiteral("ok");
    case Batch::Status::OutOfRange: return QStringLiteral("out_of_range");
    case Batch::Status::TwoSolutions: return QStringLiteral("two_solutions");
    case Batch::Status::NoRange: return QStringLiteral("no_range");
    case Batch::Status::NoSolution: return QStringLiteral("no_solution");
    case Batch::Status::MissingInput: return QStringLiteral("missing_input");
    case Batch::Status::NoCalibration: return QStringLiteral("no_calibration");
    case Batch::Status::BadInput: return QStringLiteral("bad_input");
    }
    return QString();
}

// The conditions a trace result used, and what it says of them.
QStringList conditionFields(const Batch::SampleColumns &table, const Batch::Result &r)
{
    QStringList f{QString(), QString(), QString(), QString()};
    QStringList said;
    if (r.cal && r.status != Batch::Status::MissingInput) {
        const TraceEquation::Form form = r.cal->form();
        const Batch::Values v = table.values(r.sample);
        if (form.usesPressure()) f[0] = number(v.pressure.value_or(0));
        if (form.usesTiO2()) f[1] = number(v.aTiO2.value_or(1));
        if (form.usesSiO2()) f[2] = number(v.aSiO2.value_or(1));
        if (form.usesComposition()) f[3] = number(v.x.value_or(0));
    }
    if (r.conditions & Batch::PressureOutside) said << QStringLiteral("pressure_out_of_range");
    if (r.conditions & Batch::CompositionOutside) said << QStringLiteral("composition_out_of_range");
    if (r.conditions & Batch::TiO2Defaulted) said << QStringLiteral("aTiO2=1");
    if (r.conditions & Batch::SiO2Defaulted) said << QStringLiteral("aSiO2=1");
    if (r.status == Batch::Status::MissingInput)
        said << (r.column == Batch::Pressure ? QStringLiteral("missing_P_kbar")
                                             : QStringLiteral("missing_X"));
    return f << said.join(QLatin1Char(';'));
}

// Whether two paths name one file (by device and inode, so through links too).
bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// A sample file is named, and the output is not that file; else says why.
bool samplesAndOutputUsable(const QString &samples, const QString &out)
{
    if (samples.isEmpty()) {
        err(QStringLiteral("no sample file; see --help"));
        return false;
    }
    if (!out.isEmpty() && sameFile(out, samples)) {
        err(QStringLiteral("-o %1 is the sample file itself; nothing written").arg(out));
        return false;
    }
    return true;
}

// The cell that stops a run, as file:line:column: why ("?" for a column not known).
void badCell(const QString &samples, int line, int column, const QString &why)
{
    err(QStringLiteral("%1:%2:%3: %4")
            .arg(samples)
            .arg(line)
            .arg(column > 0 ? QString::number(column) : QStringLiteral("?"))
            .arg(why));
}

// Writes the output lines to the file, or standard output; 0 done, 1 failed (said).
int writeOut(const QString &out, const QStringList &lines)
{
    const QByteArray bytes = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (out.isEmpty()) {
        QFile standard;
        if (!standard.open(stdout, QIODevice::WriteOnly) || standard.write(bytes) != bytes.size() ||
            !standard.flush()) {
            err(QStringLiteral("cannot write standard output"));
            return 1;
        }
        return 0;
    }
    // A full disk leaves the old file as it was, and no half-written one.
    QString why;
    if (!FileWrite::WriteWhole(out, bytes, &why)) {
        err(QStringLiteral("cannot write %1: %2; nothing written").arg(out, why));
        return 1;
    }
    return 0;
}

QString fixed(const std::optional<double> &v, int decimals)
{
    return v ? QString::number(RootRule::AsShown(*v, decimals), 'f', decimals) : QString();
}

int runOlivine(const QStringList &args)
{
    QString samples, out;
    int model = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString a = args[i];
        bool ok = true;
        if (a == QLatin1String("-o") && i + 1 < args.size()) {
            out = args[++i];
        } else if (a == QLatin1String("--model") && i + 1 < args.size()) {
            model = args[++i].toInt(&ok);
            ok = ok && model >= 0 && model < int(OlivineLiquid::Models().size());
        } else if (!a.startsWith(QLatin1Char('-')) && samples.isEmpty()) {
            samples = a;
        } else {
            ok = false;
        }
        if (!ok) {
            err(QStringLiteral("bad argument \"%1\"; see --help").arg(a));
            return 1;
        }
    }
    if (!samplesAndOutputUsable(samples, out)) return 1;
    const Batch::Mapped table = Batch::ReadSampleFile(OlivineTable::Columns(), samples);
    if (!table.error.isEmpty()) {
        err(QStringLiteral("%1: %2").arg(samples, table.error));
        return 1;
    }
    const std::vector<OlivineTable::Result> results = OlivineTable::Compute(table.rows, model);
    QStringList lines{
        QStringLiteral("sample,T_B93_C,T_eq19_C,T_HZ_C,T_eq21_C,T_eq22_C,T_ultramafic_C,T_mafic_C,"
                       "KD,KD_low,KD_high,equilibrium,Fo,Fo_eq,notes")};
    for (const OlivineTable::Result &r : results) {
        const Batch::Row &row = table.rows[r.sample];
        if (!r.problem.isEmpty()) {
            const int column = r.column >= 0 ? table.sourceColumn.value(r.column) : row.problemColumn;
            badCell(samples, row.line, column, r.problem);
            return 1;
        }
        QStringList f{row.cells[OlivineTable::Sample]};
        auto celsius = [](const std::optional<double> &k) {
            return k ? std::optional<double>(*k - 273.15) : std::nullopt;
        };
        for (const std::optional<double> &k : r.kelvin) f << fixed(celsius(k), 1);
        f << fixed(celsius(r.ultramafic), 1) << fixed(celsius(r.mafic), 1);
        f << fixed(r.kd, 4) << fixed(r.kdLow, 4) << fixed(r.kdHigh, 4)
          << (r.equilibrium ? (*r.equilibrium ? QStringLiteral("yes") : QStringLiteral("no")) : QString())
          << fixed(r.fo, 4) << fixed(r.foEquilibrium, 4)
          << (r.fe3Defaulted ? QStringLiteral("Fe3Fet=0") : QString());
        for (QString &field : f) field = Batch::CsvField(field);
        lines << f.join(QLatin1Char(','));
    }
    return writeOut(out, lines);
}

// The heading line of the iso or trace output.
QString headerLine(Batch::Kind kind)
{
    const QString resultColumns =
        QStringLiteral("T_C,sigma_T_C,T_lo95_C,T_hi95_C,draws_failed,T2_C,sigma_T2_C,"
                       "T2_lo95_C,T2_hi95_C,T2_draws_failed,range,status");
    return kind == Batch::Kind::Isotope
               ? QStringLiteral("sample,type,mineral_a,mineral_b,A,B,C,source,") + resultColumns +
                     QStringLiteral(
                         ",derived,sigma_T_analytical_C,sigma_T_calibration_C,mineral_a_en,mineral_b_en")
               : QStringLiteral("sample,element,mineral_a,mineral_b,A,B,log_type,remark,K,") + resultColumns +
                     QStringLiteral(",P_kbar,a_TiO2,a_SiO2,X,conditions,sigma_T_analytical_C,"
                                    "sigma_T_calibration_C,mineral_a_en,mineral_b_en");
}

// A number with one decimal as the window shows it ("" when there is none).
void appendOneDecimal(QByteArray &out, const std::optional<double> &v)
{
    if (!v) return;
    char buf[64];
    const std::to_chars_result r =
        std::to_chars(buf, buf + sizeof buf, RootRule::AsShown(*v, 1), std::chars_format::fixed, 1);
    out.append(buf, qsizetype(r.ptr - buf));
}

// The fields a calibration gives every line of its results, formed once per
// calibration: A, B, C (or the log type) and the source (or the remark).
class CalibrationFields {
  public:
    explicit CalibrationFields(Batch::Kind kind) : kind_(kind) {}
    const QByteArray &of(const Batch::Calibration *c)
    {
        auto found = fields_.constFind(c);
        if (found != fields_.constEnd()) return *found;
        QStringList f;
        if (kind_ == Batch::Kind::Isotope)
            f << (c ? number(c->a) : QString()) << (c ? number(c->b) : QString())
              << (c ? number(c->c) : QString()) << (c ? c->source : QString());
        else
            f << (c ? number(c->a) : QString()) << (c ? number(c->b) : QString())
              << (c ? c->logType : QString()) << (c ? c->remark : QString());
        for (QString &field : f) field = Batch::CsvField(field);
        return *fields_.insert(c, f.join(QLatin1Char(',')).toUtf8());
    }
    // Its range as the output writes it.
    const QByteArray &rangeOf(const Batch::Calibration *c)
    {
        auto found = ranges_.constFind(c);
        if (found != ranges_.constEnd()) return *found;
        return *ranges_.insert(c, c && c->range ? Batch::CsvField(c->range->asciiText()).toUtf8()
                                                : QByteArray());
    }

    // The sample's own fields and a comma, formed once for the lines of its
    // calibrations: its name, then the type and minerals as the database stores
    // them (the isotope type and the minerals in any spelling the names table knows).
    const QByteArray &rowFields(const Batch::SampleColumns &table, int sample)
    {
        if (sample == sample_ && !rowFields_.isEmpty()) return rowFields_;
        sample_ = sample;
        rowFields_ = Batch::CsvField(table.text(sample, Batch::Sample)).toUtf8() + ',';
        const QString type = table.text(sample, Batch::Type);
        rowFields_ += Batch::CsvField(kind_ == Batch::Kind::Isotope ? names_.stored(Names::Kind::Type, type)
                                                                    : type.trimmed())
                          .toUtf8();
        rowFields_ += ',';
        englishFields_.clear();
        for (int column : {Batch::MineralA, Batch::MineralB}) {
            const QString mineral = table.text(sample, column);
            rowFields_ += Batch::CsvField(names_.stored(Names::Kind::Mineral, mineral)).toUtf8() + ',';
            englishFields_ +=
                ',' + Batch::CsvField(names_.english(Names::Kind::Mineral, mineral.trimmed())).toUtf8();
        }
        return rowFields_;
    }
    // ",mineral_a_en,mineral_b_en" of the sample rowFields last formed.
    const QByteArray &englishFields() const { return englishFields_; }
    // A new piece of rows: its sample numbers start again.
    void newPiece() { rowFields_.clear(); }

  private:
    Batch::Kind kind_;
    QHash<const Batch::Calibration *, QByteArray> fields_, ranges_;
    int sample_ = -1;
    QByteArray rowFields_, englishFields_;
    const Names::Table &names_ = Names::Table::Shared();
};

// One result's output line, ended.
void appendResultLine(QByteArray &out, Batch::Kind kind, const Batch::SampleColumns &table,
                      const Batch::Result &r, CalibrationFields &calibrations)
{
    out += calibrations.rowFields(table, r.sample);
    const Batch::Calibration *c = r.cal;
    out += calibrations.of(c);
    if (kind == Batch::Kind::Trace) {
        out += ',';
        out += number(r.value).toUtf8();
    }
    const bool solved = Batch::Solved(r.status);
    const bool drawn = solved && r.draws > 0;
    auto decimal = [&out](bool has, Batch::Maybe v) {
        out += ',';
        if (has) appendOneDecimal(out, v.optional());
    };
    decimal(solved, r.celsius);
    decimal(solved, r.sigma);
    decimal(solved, r.lo95);
    decimal(solved, r.hi95);
    out += ',';
    if (drawn) out += QByteArray::number(r.failedDraws);
    if (r.second) {
        decimal(true, r.second->celsius);
        decimal(true, r.second->sigma);
        decimal(true, r.second->lo95);
        decimal(true, r.second->hi95);
        out += ',';
        if (drawn) out += QByteArray::number(r.second->failedDraws);
    } else {
        out += ",,,,,";
    }
    out += ',';
    out += calibrations.rangeOf(c);
    out += ',';
    out += statusBytes(r.status);
    if (kind == Batch::Kind::Trace)
        for (const QString &field : conditionFields(table, r)) {
            out += ',';
            out += Batch::CsvField(field).toUtf8();
        }
    if (kind == Batch::Kind::Isotope) out += c && c->derived ? ",yes" : ",";
    decimal(solved, r.sigmaAnalytical);
    decimal(solved, r.sigmaCalibration);
    out += calibrations.englishFields();
    out += '\n';
}

// Where the output goes, line by line: standard output, or a file that takes
// the place of the old one only once every line is written (a full disk, or a
// bad cell found later, leaves the old file as it was and nothing beside it).
class Output {
  public:
    explicit Output(const QString &path) : path_(path), file_(path) {}
    bool open()
    {
        // Unbuffered, so that a short write shows at once rather than vanishing
        // in a buffer flushed at the end.
        const bool opened = path_.isEmpty() ? stdout_.open(stdout, QIODevice::WriteOnly)
                                            : file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        if (!opened)
            err(path_.isEmpty() ? QStringLiteral("cannot write standard output")
                                : QStringLiteral("cannot write %1: %2; nothing written")
                                      .arg(path_, FileWrite::Reason(errno)));
        return opened;
    }
    void write(const QString &line)
    {
        buffer_ += line.toUtf8();
        buffer_ += '\n';
        if (buffer_.size() >= (1 << 20)) flush();
    }
    // Lines already ended, appended to the output's buffer.
    QByteArray &buffer() { return buffer_; }
    void flushIfFull()
    {
        if (buffer_.size() >= (1 << 20)) flush();
    }
    bool ok() const { return ok_; }
    // Ends the output: the file takes its place, or is dropped when anything failed.
    bool commit()
    {
        flush();
        if (path_.isEmpty()) {
            if (!ok_ || !stdout_.flush()) {
                err(QStringLiteral("cannot write standard output"));
                return false;
            }
            return true;
        }
        if (ok_) {
            errno = 0;
            if (file_.commit()) return true;
            reason_ = errno;
        } else {
            file_.cancelWriting();
        }
        err(QStringLiteral("cannot write %1: %2; nothing written").arg(path_, FileWrite::Reason(reason_)));
        return false;
    }
    // Drops the file (a bad cell): the old one stays as it was.
    ~Output()
    {
        if (!path_.isEmpty() && file_.isOpen()) file_.cancelWriting();
    }

  private:
    void flush()
    {
        if (buffer_.isEmpty() || !ok_) return;
        QIODevice &device = path_.isEmpty() ? static_cast<QIODevice &>(stdout_) : file_;
        qsizetype done = 0;
        errno = 0;
        while (ok_ && done < buffer_.size()) {
            const qint64 n = device.write(buffer_.constData() + done, buffer_.size() - done);
            if (n <= 0) {
                ok_ = false;
                reason_ = errno;
            } else {
                done += qsizetype(n);
            }
        }
        buffer_.clear();
    }

    QString path_;
    QSaveFile file_;
    QFile stdout_;
    QByteArray buffer_;
    bool ok_ = true;
    int reason_ = 0;
};

int run(const QStringList &args)
{
    if (args.isEmpty() || args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(kHelp, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 1 : 0;
    }

    if (args[0] == QLatin1String("olivine")) return runOlivine(args.mid(1));
    Batch::Kind kind;
    if (args[0] == QLatin1String("iso"))
        kind = Batch::Kind::Isotope;
    else if (args[0] == QLatin1String("trace"))
        kind = Batch::Kind::Trace;
    else {
        err(QStringLiteral("unknown kind \"%1\" (iso, trace or olivine); see --help").arg(args[0]));
        return 1;
    }
    QString samples, out, dbPath;
    Batch::Options options;
    for (int i = 1; i < args.size(); ++i) {
        const QString a = args[i];
        auto value = [&](QString *v) {
            if (i + 1 >= args.size()) return false;
            *v = args[++i];
            return true;
        };
        QString v;
        bool ok = true;
        if (a == QLatin1String("-o")) {
            ok = value(&out);
        } else if (a == QLatin1String("--db")) {
            ok = value(&dbPath);
        } else if (a == QLatin1String("--draws")) {
            ok = value(&v);
            options.draws = v.toInt(&ok);
            if (ok && (options.draws < 0 || options.draws > Batch::kMaxDraws)) {
                err(QStringLiteral("--draws takes 0 to %1").arg(Batch::kMaxDraws));
                return 1;
            }
        } else if (a == QLatin1String("--seed")) {
            ok = value(&v);
            options.seed = v.toULongLong(&ok);
        } else if (a == QLatin1String("--exact") && kind == Batch::Kind::Isotope) {
            options.exact = true;
        } else if (!a.startsWith(QLatin1Char('-')) && samples.isEmpty()) {
            samples = a;
        } else {
            ok = false;
        }
        if (!ok) {
            err(QStringLiteral("bad argument \"%1\"; see --help").arg(a));
            return 1;
        }
    }
    if (!samplesAndOutputUsable(samples, out)) return 1;

    // The database: the one named, or the program's own by the program's rule.
    if (dbPath.isEmpty()) {
        const ProgramFolders::Layout layout = ProgramFolders::Locate(QCoreApplication::applicationDirPath());
        dbPath = layout.databasePath;
        if (layout.installed && !QFileInfo::exists(dbPath)) dbPath = layout.defaultDatabase;
    }
    if (!out.isEmpty() && sameFile(out, dbPath)) {
        err(QStringLiteral("-o %1 is the database; nothing written").arg(out));
        return 1;
    }
    Connection conn;
    conn.setReadOnly(true);
    conn.setConnectionString(QStringLiteral("provider=microsoft.jet.oledb.4.0;data source=") + dbPath);
    Batch::Library library;
    try {
        conn.Open();
        library = Batch::Library::Load(conn, kind);
    } catch (const AppError &e) {
        err(QStringLiteral("cannot open the database %1: %2").arg(dbPath, e.description()));
        return 2;
    }

    // Text files are read, computed and written a piece at a time, so that memory
    // stays flat whatever their size; a workbook is read whole.
    Output output(out);
    if (!output.open()) return 1;
    output.write(headerLine(kind));
    const bool workbook =
        QFileInfo(samples).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0;
    Batch::SampleStream stream(kind, samples);
    QList<int> sourceColumns;
    if (!workbook) {
        QString why;
        if (!stream.open(&why)) {
            err(QStringLiteral("%1: %2").arg(samples, why));
            return 1;
        }
        sourceColumns = stream.sourceColumns();
    }
    // One thread reads the pieces and reads their numbers while this one
    // computes and writes the piece before: two pieces at most wait between them.
    struct Piece {
        std::unique_ptr<Batch::SampleColumns> table;
        QString error;
        bool hadHeader = false;
        QList<int> sourceColumns;
    };
    std::deque<Piece> ready;
    std::mutex lock;
    std::condition_variable changed;
    bool finished = false, stop = false;
    // Hands a piece over, waiting while two wait already; false once the writer has stopped.
    auto push = [&](Piece piece) {
        std::unique_lock<std::mutex> held(lock);
        changed.wait(held, [&] { return stop || ready.size() < 2; });
        if (stop) return false;
        ready.push_back(std::move(piece));
        changed.notify_all();
        return true;
    };
    auto pieceOf = [&](Batch::Mapped &mapped) {
        Piece piece;
        piece.error = mapped.error;
        piece.hadHeader = mapped.hadHeader;
        piece.sourceColumns = mapped.sourceColumn;
        if (piece.error.isEmpty() && !mapped.rows.isEmpty()) {
            piece.table = std::make_unique<Batch::SampleColumns>(kind);
            piece.table->append(mapped.rows);
        }
        return piece;
    };
    std::thread reader([&] {
        try {
            if (workbook) {
                // The sheet as it streams; its error, or its end, comes last.
                Piece last;
                last.error = Batch::StreamWorkbookSamples(
                    kind, samples, [&](Batch::Mapped &&mapped) { return push(pieceOf(mapped)); });
                push(std::move(last));
            } else {
                for (;;) {
                    Batch::Mapped mapped = stream.next();
                    Piece piece = pieceOf(mapped);
                    const bool last = !piece.table;
                    if (!push(std::move(piece)) || last) break;
                }
            }
        } catch (const std::exception &e) {
            Piece failed;
            failed.error = QString::fromLocal8Bit(e.what());
            push(std::move(failed));
        }
        std::lock_guard<std::mutex> held(lock);
        finished = true;
        changed.notify_all();
    });
    auto next = [&]() -> std::optional<Piece> {
        std::unique_lock<std::mutex> held(lock);
        changed.wait(held, [&] { return finished || !ready.empty(); });
        if (ready.empty()) return std::nullopt;
        Piece piece = std::move(ready.front());
        ready.pop_front();
        changed.notify_all();
        return piece;
    };
    struct Join {
        std::thread &thread;
        std::mutex &lock;
        std::condition_variable &changed;
        bool &stop;
        ~Join()
        {
            {
                std::lock_guard<std::mutex> held(lock);
                stop = true;
                changed.notify_all();
            }
            thread.join();
        }
    } join{reader, lock, changed, stop};

    int64_t done = 0;
    CalibrationFields calibrations(kind);
    QSet<QString> unknownNames;
    for (bool first = true;; first = false) {
        std::optional<Piece> piece = next();
        if (!piece) break;
        if (!piece->error.isEmpty()) {
            err(QStringLiteral("%1: %2").arg(samples, piece->error));
            return 1;
        }
        if (!piece->table) {
            if (first) {
                err(QStringLiteral("%1: %2").arg(
                    samples, stream.hadHeader() || piece->hadHeader
                                 ? QCoreApplication::translate("Batch", "文件只有表头，没有样品行")
                                 : QCoreApplication::translate("Batch", "文件中没有样品行")));
                return 1;
            }
            break;
        }
        const Batch::SampleColumns &table = *piece->table;
        if (workbook && first) sourceColumns = piece->sourceColumns;
        options.firstRow = done;
        const Batch::Results results = Batch::Compute(table, library, options);
        for (const Batch::Result &r : results)
            if (r.status == Batch::Status::BadInput) {
                const int column = r.column >= 0 ? sourceColumns.value(r.column) : r.sourceColumn;
                const QString problem = r.problem;
                badCell(samples, table.line(r.sample), column,
                        column > 0 || r.column < 0
                            ? problem
                            : QCoreApplication::translate("LorvaneCalc", "%1（%2列不在文件中）")
                                  .arg(problem, Batch::ColumnTitles(kind).value(r.column)));
                return 1; // the output file is not written; what went to standard output stays
            }
        // A name known nowhere is said once, with the nearest spelling.
        for (const Batch::Result &r : results)
            if (r.status == Batch::Status::NoCalibration && !r.problem.isEmpty()) {
                const QString problem = r.problem;
                if (!unknownNames.contains(problem)) {
                    unknownNames.insert(problem);
                    err(problem);
                }
            }
        calibrations.newPiece();
        for (const Batch::Result &r : results) {
            appendResultLine(output.buffer(), kind, table, r, calibrations);
            output.flushIfFull();
        }
        if (!output.ok()) break;
        done += table.rowCount();
    }
    return output.commit() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Messages in the language of the locale: Chinese, or English for any other.
    Language::Install(Language::FromEnvironment());
    // No failure leaves as an abort: whatever a file holds, the user gets a message.
    try {
        return run(app.arguments().mid(1));
    } catch (const AppError &e) {
        err(e.description());
    } catch (const std::exception &e) {
        err(QString::fromLocal8Bit(e.what()));
    }
    return 1;
}
