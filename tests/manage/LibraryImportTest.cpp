// SPDX-License-Identifier: GPL-3.0-or-later
// The default library's import files: what they hold, and what the managers'
// import makes of them in a database built before the library's later rows.
#include "ManagerTestSupport.h"

#include "core/base/NumberText.h"
#include "core/base/ProgramFolders.h"
#include "core/files/CalibrationImportText.h"
#include "core/files/TextCodec.h"
#include "core/store/CoefficientCovariance.h"
#include "manage/frmIsoMgr.h"
#include "manage/frmTraceMgr.h"

#include <QDir>
#include <QFile>
#include <algorithm>

using namespace ManagerTest;

namespace {

const QString kAlreadyThere = QStringLiteral(" 记录已存在,添加失败!");
const QString kNotSaved = QStringLiteral("当前修改未保存，立即保存？");

QString libraryCsvDir() { return QStringLiteral(LORVANE_DATA_DIR "/calibrations"); }
// The library as it was before its sulfur, carbon, hydrogen and trace-element rows.
QString olderCsvDir() { return QStringLiteral(LORVANE_DATA_DIR "/../tests/manage/library_before"); }

// A stored row as the manager's list shows it, its owner (type or element) first.
struct Stored {
    QString owner;
    QStringList values;
    QString line() const { return owner + QLatin1Char('|') + values.join(QLatin1Char('|')); }
};

// With its parts: the dataset and the error fields after the seven columns.
std::vector<Stored> isotopeRows(Connection &conn, bool parts = true)
{
    std::vector<Stored> rows;
    const auto errors = CoefficientCovariance::ReadAll(conn, CoefficientCovariance::kIsoplot);
    Recordset rs = conn.Execute(QStringLiteral("select * from Isoplot order by ID_N"));
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList values{rs.Fields("MinA_S").Text(),
                           rs.Fields("MinB_S").Text(),
                           Num::Str(rs.Fields("ConstA_N").Single()),
                           Num::Str(rs.Fields("ConstB_N").Single()),
                           Num::Str(rs.Fields("ConstC_N").Single()),
                           rs.Fields("Mark_S").Text(),
                           rs.Fields("Source_S").Text()};
        if (parts) {
            const auto found = errors.constFind(rs.Fields("ID_N").Long());
            values << rs.Fields("Dataset_S").Text()
                   << CoefficientCovariance::Texts(
                          found == errors.constEnd() ? std::nullopt : std::optional(*found), 3)
                   << rs.Fields("DOI_S").Text();
        }
        rows.push_back({rs.Fields("IsoType_S").Text(), values});
    }
    return rows;
}

// As the trace list shows a row: the seven shared columns (the source of data
// empty: the table keeps none), then the terms C, n, E, F, X, ν_Si, ν_Ti, K unit,
// then the error fields.
std::vector<Stored> traceRows(Connection &conn)
{
    std::vector<Stored> rows;
    const auto errors = CoefficientCovariance::ReadAll(conn, CoefficientCovariance::kTraceElement);
    Recordset rs = conn.Execute(QStringLiteral("select * from TraceElement order by ID_N"));
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList values{rs.Fields("MinA_s").Text(),
                           rs.Fields("MinB_s").Text(),
                           Num::Str(rs.Fields("ConstA_sng").Single()),
                           Num::Str(rs.Fields("ConstB_sng").Single()),
                           rs.Fields("logType_s").Text(),
                           rs.Fields("Mark_s").Text(),
                           QString()};
        for (const char *number : {"ConstC_sng", "PowerN_sng", "ConstE_sng", "ConstF_sng"})
            values << Num::Str(rs.Fields(number).Single());
        values << rs.Fields("XName_s").Text();
        for (const char *number : {"NuSiO2_sng", "NuTiO2_sng"})
            values << Num::Str(rs.Fields(number).Single());
        values << rs.Fields("KUnit_s").Text();
        const auto found = errors.constFind(rs.Fields("ID_N").Long());
        values << CoefficientCovariance::Texts(
                      found == errors.constEnd() ? std::nullopt : std::optional(*found), 2)
               << rs.Fields("DOI_s").Text();
        rows.push_back({rs.Fields("Element_s").Text(), values});
    }
    return rows;
}

QStringList owners(const std::vector<Stored> &rows)
{
    QStringList names;
    for (const Stored &r : rows)
        if (!names.contains(r.owner)) names << r.owner;
    return names;
}

QStringList lines(const std::vector<Stored> &rows, const QString &owner = QString())
{
    QStringList out;
    for (const Stored &r : rows)
        if (owner.isEmpty() || r.owner == owner) out << r.line();
    return out;
}

QStringList sorted(QStringList l)
{
    std::sort(l.begin(), l.end());
    return l;
}

// Checks one manager's folder: one file per owner, each line one stored row.
void expectFilesHoldTheRows(const QString &folder, const std::vector<Stored> &rows)
{
    QStringList expectedFiles;
    for (const QString &owner : owners(rows)) expectedFiles << owner + QStringLiteral(".txt");
    EXPECT_EQ(sorted(QDir(folder).entryList(QDir::Files)), sorted(expectedFiles)) << folder.toStdString();

    for (const QString &owner : owners(rows)) {
        const QString path = folder + QLatin1Char('/') + owner + QStringLiteral(".txt");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray bytes = file.readAll();
        // UTF-8 without a byte-order mark, every line ended by CR LF.
        EXPECT_TRUE(TextCodec::IsValidUtf8(bytes)) << path.toStdString();
        EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << path.toStdString();
        EXPECT_TRUE(bytes.endsWith("\r\n")) << path.toStdString();
        EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n')) << path.toStdString();
        EXPECT_EQ(bytes.count("\r\n"), bytes.count('\r')) << path.toStdString();

        // Read as the manager's import reads it: as many fields as its list has value columns.
        const CalibrationImportText::Rows read =
            CalibrationImportText::ReadFile(path, int(rows.front().values.size()));
        EXPECT_FALSE(read.failed) << path.toStdString();
        std::vector<Stored> fromFile;
        for (QStringList fields : read.rows) {
            // A line ends at its last non-empty field's tab; empty trailing fields are no loss.
            while (fields.size() < rows.front().values.size()) fields << QString();
            fromFile.push_back({owner, fields});
        }
        EXPECT_EQ(lines(fromFile), lines(rows, owner)) << path.toStdString();
    }
}

} // namespace

TEST(LibraryFiles, OneFilePerTypeAndElementHoldingItsRowsAsTheImportReadsThem)
{
    TempDatabase library(libraryCsvDir());
    const std::vector<Stored> iso = isotopeRows(library.conn());
    const std::vector<Stored> trace = traceRows(library.conn());
    ASSERT_GE(iso.size(), 170u);
    ASSERT_GE(trace.size(), 18u);
    EXPECT_EQ(sorted(owners(iso)),
              sorted({"氧同位素", "氢同位素", "硫同位素", "碳同位素", "团簇同位素(Δ47)"}));
    expectFilesHoldTheRows(library.dir() + QStringLiteral("/library/isotope"), iso);
    expectFilesHoldTheRows(library.dir() + QStringLiteral("/library/trace"), trace);
}

class LibraryImport : public ::testing::Test {
  protected:
    void TearDown() override { ProgramFolders::ResetCurrent(); }

    // Chooses the owner in the tree, imports its library file and saves; returns
    // the icons of the imported rows ("ok" stored, "adderror" refused).
    QStringList importAndSave(CalibrationManager *w, const QString &owner, const QString &file)
    {
        if (w->pending()) dialogs.answer(Dialogs::Answer::No); // the refused rows of the type before
        clickNode(w, owner);
        EXPECT_EQ(w->currentOwner(), owner);
        const int before = rowCount(w);
        dialogs.answerFile(file);
        clickButton(w, "import");
        clickButton(w, "save");
        QStringList icons;
        for (int i = before; i < rowCount(w); ++i) {
            icons << PendingRows::IconKey(row(w, i));
            if (icons.back() != PendingRows::kOk) {
                EXPECT_EQ(PendingRows::ToolTip(row(w, i)), kAlreadyThere);
            }
        }
        return icons;
    }

    ScriptedDialogs dialogs;
};

TEST_F(LibraryImport, IsotopeManagerAddsTheMissingRowsAndRefusesThoseTheDatabaseHas)
{
    TempDatabase library(libraryCsvDir());
    const std::vector<Stored> wanted = isotopeRows(library.conn());
    TempDatabase older(olderCsvDir()); // the shared connection from here on
    // The user's own rows stay as they are.
    older.exec(QStringLiteral(
        "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) values "
        "(500,'硫同位素','黄铁矿','方铅矿',1.01,0,0,'200-700','my own')"));
    older.exec(QStringLiteral("update Isoplot set Source_S='checked again' where ID_N=3"));
    const std::vector<Stored> had = isotopeRows(older.conn());
    const std::vector<Stored> hadMain = isotopeRows(older.conn(), false);
    ASSERT_EQ(had.size(), 96u);

    frmIsoMgr w;
    w.Load();
    w.show();
    int added = 0, refused = 0;
    for (const QString &type : owners(wanted)) {
        const QStringList icons =
            importAndSave(&w, type, library.dir() + QStringLiteral("/library/isotope/") + type + ".txt");
        const QStringList had_ = lines(hadMain, type),
                          wanted_ = lines(isotopeRows(library.conn(), false), type);
        int missing = 0;
        for (const QString &l : wanted_) missing += had_.contains(l) ? 0 : 1;
        EXPECT_EQ(icons.count(PendingRows::kOk), missing) << type.toStdString();
        EXPECT_EQ(icons.count(QStringLiteral("adderror")), wanted_.size() - missing) << type.toStdString();
        added += int(icons.count(PendingRows::kOk));
        refused += int(icons.count(QStringLiteral("adderror")));
    }
    // 94 rows are new (the six sulfide pairs of Li & Liu and the twelve Δ47 calibrations
    // among them); the 94 unchanged older rows are refused, and so is none of the rest.
    EXPECT_EQ(added, 94);
    EXPECT_EQ(refused, 94);

    // Now the database holds the whole library once, the user's row, and the row the user changed.
    const QStringList expected = lines(isotopeRows(library.conn(), false)) +
                                 QStringList{lines(hadMain).value(2), lines(hadMain).last()};
    EXPECT_EQ(sorted(lines(isotopeRows(older.conn(), false))), sorted(expected));
    // The rows it added came with their dataset and error: the clumped rows, all new, whole.
    EXPECT_EQ(lines(isotopeRows(older.conn()), QStringLiteral("团簇同位素(Δ47)")),
              lines(wanted, QStringLiteral("团簇同位素(Δ47)")));
    w.setCanSave(false);
    w.Unload();
}

TEST_F(LibraryImport, TraceManagerOffersTheLibrarysElementsAndImportsThem)
{
    TempDatabase library(libraryCsvDir());
    const std::vector<Stored> wanted = traceRows(library.conn());
    TempDatabase older(olderCsvDir());
    older.exec(QStringLiteral(
        "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
        "values (50,'Ti','锆石','单矿物',-5000,6,'10','my own')"));
    const std::vector<Stored> had = traceRows(older.conn());
    ASSERT_EQ(had.size(), 3u);
    ProgramFolders::Layout layout;
    layout.dataDir = library.dir(); // its library/ beside the program
    ProgramFolders::SetCurrent(layout);

    frmTraceMgr w;
    w.Load();
    w.show();
    // The database's elements first, as they are found, then those only the library has.
    QTreeWidgetItem *root = tree(&w)->topLevelItem(0);
    QStringList nodes;
    for (int i = 0; i < root->childCount(); ++i) nodes << root->child(i)->text(0);
    ASSERT_EQ(nodes.size(), 7);
    EXPECT_EQ(sorted(nodes.mid(0, 3)), QStringList({"Fe", "Mg", "Ti"}));
    EXPECT_EQ(nodes.mid(3), QStringList({"Al", "Ca", "Ni", "Zr"}));

    int added = 0, refused = 0;
    for (const QString &element : owners(wanted)) {
        const QStringList icons =
            importAndSave(&w, element, library.dir() + QStringLiteral("/library/trace/") + element + ".txt");
        added += int(icons.count(PendingRows::kOk));
        refused += int(icons.count(QStringLiteral("adderror")));
    }
    // The older Mg and Fe rows of Roeder & Emslie say nothing of what K is, the
    // library's do: the unit is no part of the equation, so they are the same rows.
    EXPECT_EQ(added, int(wanted.size()) - 2);
    EXPECT_EQ(refused, 2);
    std::vector<Stored> kept = had;
    for (const Stored &row : wanted)
        if (row.owner != QStringLiteral("Mg") && row.owner != QStringLiteral("Fe")) kept.push_back(row);
    EXPECT_EQ(sorted(lines(traceRows(older.conn()))), sorted(lines(kept)));
    w.setHasSaved(true);
    w.Unload();
}

// A database built from the library holds every row of every element's file,
// terms and all: importing the files again adds nothing.
TEST_F(LibraryImport, ElementsWhoseRowsAreAllStoredAreRefusedWhole)
{
    TempDatabase library(libraryCsvDir());
    const std::vector<Stored> stored = traceRows(library.conn());
    ProgramFolders::Layout layout;
    layout.dataDir = library.dir();
    ProgramFolders::SetCurrent(layout);

    frmTraceMgr w;
    w.Load();
    w.show();
    int rows = 0;
    for (const QString &element : owners(stored)) {
        const QStringList icons =
            importAndSave(&w, element, library.dir() + QStringLiteral("/library/trace/") + element + ".txt");
        EXPECT_EQ(icons.count(QStringLiteral("adderror")), icons.size()) << element.toStdString();
        // The import says so at once, in one message.
        QString summary;
        for (const auto &m : dialogs.messages())
            if (m.text.startsWith(QStringLiteral("导入完成")))
                summary = m.text + QLatin1Char('|') + m.caption;
        EXPECT_EQ(summary,
                  QStringLiteral("导入完成：新增0条，已存在%1条，出错0条|Lorvane").arg(icons.size()));
        dialogs.clear();
        rows += int(icons.size());
    }
    EXPECT_EQ(rows, int(stored.size()));
    EXPECT_EQ(lines(traceRows(library.conn())), lines(stored));
    w.setHasSaved(true);
    w.Unload();
}
