// SPDX-License-Identifier: GPL-3.0-or-later
// Calibration import from tab-delimited text, spreadsheet export, and the
// pending-row list both managers keep them in.
#include "ManagerTestSupport.h"

#include "core/base/AppError.h"
#include "core/base/ProgramFolders.h"
#include "core/database/Recordset.h"
#include "core/database/SharedConnection.h"
#include "core/files/TextCodec.h"
#include "core/files/Workbook.h"
#include "manage/CalibrationExport.h"
#include "manage/CalibrationImport.h"
#include "manage/PendingRows.h"
#include "manage/frmTraceMgr.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"
#include "support/ui/Widgets.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <zip.h>

namespace {

const QString kImportTitle = QStringLiteral("导入");
const QString kImportFilter = QStringLiteral("文本文件(制表符分隔)|*.txt");
const QString kExportError = QStringLiteral("数据导出过程中出错");

// A manager's list: column 0 the state icon, then the seven value columns.
std::unique_ptr<QTreeWidget> makeList()
{
    auto list = std::make_unique<QTreeWidget>();
    list->setColumnCount(8);
    list->setHeaderLabels({QString(), QStringLiteral("矿物A"), QStringLiteral("矿物B"), QStringLiteral("A"),
                           QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("适用范围"),
                           QStringLiteral("资料来源")});
    list->setRootIsDecorated(false);
    return list;
}

QStringList rowValues(const QTreeWidget &list, int row)
{
    return PendingRows::Values(list.topLevelItem(row), 7);
}

QStringList padded(QStringList values)
{
    while (values.size() < 7) values << QString();
    return values;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// ---- import ------------------------------------------------------------------

class ImportTransfer : public ::testing::Test {
  protected:
    QString file(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("import%1.txt").arg(++files));
        writeFile(path, bytes);
        return path;
    }
    ImportResult import(const QByteArray &bytes)
    {
        dialogs.answerFile(file(bytes));
        return ImportFromText(nullptr, list.get());
    }

    QTemporaryDir dir;
    int files = 0;
    ScriptedDialogs dialogs;
    std::unique_ptr<QTreeWidget> list = makeList();
};

TEST_F(ImportTransfer, EachLineBecomesAPendingRowAfterTheListedOnes)
{
    PendingRows::AppendRow(list.get(), {QStringLiteral("石英"), QStringLiteral("水")}, QStringLiteral("A17"),
                           PendingRows::kOk, PendingRows::kOk);

    const ImportResult r = import(QByteArray("Qz\tMt\t4.8\t0\t-1.5\r\nCal\r\nDol"));

    EXPECT_FALSE(r.cancelled);
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(r.rowsAdded, 3);
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(PendingRows::Key(list->topLevelItem(0)), "A17");
    EXPECT_EQ(rowValues(*list, 0)[0], "石英");
    // The five-field line fills list columns 2..6; the lines without a tab only column 2.
    EXPECT_EQ(rowValues(*list, 1), padded({"Qz", "Mt", "4.8", "0", "-1.5"}));
    EXPECT_EQ(rowValues(*list, 2), padded({"Cal"}));
    EXPECT_EQ(rowValues(*list, 3), padded({"Dol"}));
    for (int i = 1; i < 4; ++i) {
        const QTreeWidgetItem *row = list->topLevelItem(i);
        EXPECT_EQ(PendingRows::State(row), "add");
        EXPECT_EQ(PendingRows::IconKey(row), "add");
        EXPECT_EQ(PendingRows::Key(row), "");
        EXPECT_EQ(row->text(0), "") << "column 0 shows only the icon";
    }

    ASSERT_EQ(dialogs.calls().size(), 1) << "no message after a good import";
    const ScriptedDialogs::Call &open = dialogs.calls().first();
    EXPECT_EQ(open.kind, "open");
    EXPECT_EQ(open.caption, kImportTitle);
    EXPECT_EQ(open.file.filter, kImportFilter);
}

TEST_F(ImportTransfer, FieldsAreTrimmedAndEmptyFieldsStayEmpty)
{
    // Blanks around texts, a blanks-only field, consecutive tabs, a trailing tab,
    // an empty line and a seven-field line.
    import(TextCodec::Encode(QStringLiteral("  石英 \t   \t 1.5\t\t\r\n\r\na\tb\tc\td\te\tf\t g g \r\n")));

    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(rowValues(*list, 0), padded({QStringLiteral("石英"), "", "1.5", "", ""}));
    EXPECT_EQ(rowValues(*list, 1), padded({}));
    EXPECT_EQ(PendingRows::State(list->topLevelItem(1)), "add");
    EXPECT_EQ(rowValues(*list, 2), QStringList({"a", "b", "c", "d", "e", "f", "g g"}));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(ImportTransfer, EightFieldLineStopsTheImportKeepingWhatWasRead)
{
    const ImportResult r = import(QByteArray("first\r\n1\t2\t3\t4\t5\t6\t7\t8\r\nnever read\r\n"));

    EXPECT_TRUE(r.failed);
    EXPECT_FALSE(r.cancelled);
    // Neither the eight-field line (cut off, it would be saved as a wrong
    // calibration) nor the lines after it are added.
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(rowValues(*list, 0), padded({"first"}));
    EXPECT_EQ(PendingRows::State(list->topLevelItem(0)), "add");
    EXPECT_EQ(PendingRows::IconKey(list->topLevelItem(0)), "add");

    const QList<ScriptedDialogs::Call> messages = dialogs.messages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, "无效的属性值");
    EXPECT_EQ(messages[0].caption, "Lorvane");
    EXPECT_EQ(messages[0].buttons, Dialogs::Buttons::Ok);
}

TEST_F(ImportTransfer, CancelAppendsNothingAndSaysNothing)
{
    dialogs.cancelFile();
    const ImportResult r = ImportFromText(nullptr, list.get());

    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.rowsAdded, 0);
    EXPECT_EQ(list->topLevelItemCount(), 0);
    ASSERT_EQ(dialogs.calls().size(), 1);
    EXPECT_EQ(dialogs.calls().first().caption, kImportTitle);
}

TEST_F(ImportTransfer, LineEndsOfEveryKindAndALastLineWithoutOne)
{
    import(QByteArray("lf1\tx\nlf2\rcr\r\ncrlf\n\nend"));

    ASSERT_EQ(list->topLevelItemCount(), 6);
    EXPECT_EQ(rowValues(*list, 0), padded({"lf1", "x"}));
    EXPECT_EQ(rowValues(*list, 1)[0], "lf2");
    EXPECT_EQ(rowValues(*list, 2)[0], "cr");
    EXPECT_EQ(rowValues(*list, 3)[0], "crlf");
    EXPECT_EQ(rowValues(*list, 4), padded({}));
    EXPECT_EQ(rowValues(*list, 5)[0], "end");
}

TEST_F(ImportTransfer, ChineseFilesInGb18030AndUtf8WithBom)
{
    const QString line = QStringLiteral("石英\t磁铁矿\t5.57\t0\t0\t500-800℃\t钟等(1974)");
    import(TextCodec::ToGb18030(line + QStringLiteral("\r\n")));
    import(QByteArray("\xEF\xBB\xBF") + TextCodec::Encode(line));

    ASSERT_EQ(list->topLevelItemCount(), 2);
    const QStringList expected = line.split(QLatin1Char('\t'));
    EXPECT_EQ(rowValues(*list, 0), expected);
    EXPECT_EQ(rowValues(*list, 1), expected) << "the byte-order mark is not part of the first field";
}

TEST_F(ImportTransfer, FileThatCannotBeReadShowsItsFailure)
{
    dialogs.answerFile(dir.filePath(QStringLiteral("missing.txt")));
    const ImportResult missing = ImportFromText(nullptr, list.get());
    dialogs.answerFile(dir.path()); // a folder, not a file
    const ImportResult folder = ImportFromText(nullptr, list.get());

    EXPECT_TRUE(missing.failed);
    EXPECT_TRUE(folder.failed);
    EXPECT_EQ(list->topLevelItemCount(), 0);
    const QList<ScriptedDialogs::Call> messages = dialogs.messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].text, "文件未找到");
    EXPECT_EQ(messages[1].text, "路径/文件访问错误");
    EXPECT_EQ(messages[1].caption, "Lorvane");
}

TEST_F(ImportTransfer, ListOfManyRowsTakesAWholeFile)
{
    QByteArray text;
    for (int i = 0; i < 5000; ++i) text += "Qz\tMt\t" + QByteArray::number(i) + "\r\n";
    const ImportResult r = import(text);

    EXPECT_EQ(r.rowsAdded, 5000);
    ASSERT_EQ(list->topLevelItemCount(), 5000);
    EXPECT_EQ(rowValues(*list, 4999)[2], "4999");
}

// ---- pending rows --------------------------------------------------------------

TEST(PendingRowsTransfer, RowsKeepKeyStateIconAndToolTipWhereReadersFindThem)
{
    auto list = makeList();
    QStringList asked;
    QPixmap red(16, 16);
    red.fill(Qt::red);
    PendingRows::setIconProvider([&](const QString &key) {
        asked << key;
        return key == "adderror" ? QIcon(red) : QIcon();
    });

    QTreeWidgetItem *row =
        PendingRows::AppendRow(list.get(), {"Qz", "Mt", "1", "2", "3", "r", "s"}, "A5", "ok", "ok");
    EXPECT_EQ(row->data(0, Qt::UserRole).toString(), "A5");
    EXPECT_EQ(row->data(0, Qt::UserRole + 1).toString(), "ok");
    EXPECT_EQ(row->data(0, Qt::UserRole + 2).toString(), "ok");
    EXPECT_EQ(row->text(7), "s");

    PendingRows::SetState(row, "add");
    PendingRows::SetIcon(row, "adderror");
    PendingRows::SetToolTip(row, QStringLiteral(" 记录已存在,添加失败!"));
    PendingRows::SetKey(row, "A6");
    EXPECT_EQ(PendingRows::State(row), "add");
    EXPECT_EQ(PendingRows::IconKey(row), "adderror");
    EXPECT_FALSE(row->icon(0).isNull()) << "the picture comes from the installed provider";
    EXPECT_EQ(asked, QStringList({"ok", "adderror"}));
    EXPECT_EQ(PendingRows::Key(row), "A6");
    for (int c = 0; c < 8; ++c) EXPECT_EQ(row->toolTip(c), QStringLiteral(" 记录已存在,添加失败!")) << c;

    // A row with fewer values still carries the tool tip on every cell of the list.
    QTreeWidgetItem *shortRow = PendingRows::AppendRow(list.get(), {"x"}, "", "add", "add");
    PendingRows::SetToolTip(shortRow, "t");
    EXPECT_EQ(shortRow->toolTip(7), "t");
    PendingRows::SetToolTip(shortRow, "");
    EXPECT_EQ(PendingRows::ToolTip(shortRow), "");

    PendingRows::setIconProvider(nullptr);
    EXPECT_TRUE(PendingRows::Icon("ok").isNull());
}

TEST(PendingRowsTransfer, BatchAppendKeepsOrder)
{
    auto list = makeList();
    QList<QTreeWidgetItem *> rows;
    for (int i = 0; i < 3; ++i)
        rows << PendingRows::MakeRow({QString::number(i)}, "A" + QString::number(i), "ok", "ok");
    PendingRows::AppendRows(list.get(), rows);
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(PendingRows::Key(list->topLevelItem(2)), "A2");
    EXPECT_EQ(list->topLevelItem(2)->text(1), "2");
    EXPECT_TRUE(list->updatesEnabled());
}

// ---- export --------------------------------------------------------------------

// The workbook as an independent reader sees it: openpyxl reads the cells;
// the package's content type, the sheet's dimension and the order of rows and
// cells are checked from the raw XML.
const char kReader[] = R"PY(
import sys, json, re, zipfile
import xml.etree.ElementTree as ET
import openpyxl
path = sys.argv[1]
wb = openpyxl.load_workbook(path)
ws = wb.worksheets[0]
width = max(ws.max_column, 8)
# Excel and LibreOffice turn _xHHHH_ back into its character; openpyxl leaves
# inline strings as stored, so the reader does it here.
unescape = lambda s: re.sub(r'_x([0-9A-Fa-f]{4})_', lambda m: chr(int(m.group(1), 16)), s)
cells = [[None if c.value is None else unescape(str(c.value)) for c in r]
         for r in ws.iter_rows(min_row=1, max_row=ws.max_row, max_col=width)]
types = sorted({c.data_type for r in ws.iter_rows(min_row=2, max_row=ws.max_row) for c in r
                if c.value is not None})
z = zipfile.ZipFile(path)
CT = '{http://schemas.openxmlformats.org/package/2006/content-types}'
M = '{http://schemas.openxmlformats.org/spreadsheetml/2006/main}'
ct = ET.fromstring(z.read('[Content_Types].xml'))
wbtype = [o.get('ContentType') for o in ct.findall(CT + 'Override') if o.get('PartName') == '/xl/workbook.xml']
sheet = ET.fromstring(z.read('xl/worksheets/sheet1.xml'))
def ref(s):
    m = re.fullmatch(r'([A-Z]+)([0-9]+)', s)
    col = 0
    for ch in m.group(1): col = col * 26 + ord(ch) - 64
    return col, int(m.group(2))
ordered = True
prev_row = 0
used = []
for row in sheet.find(M + 'sheetData').findall(M + 'row'):
    r = int(row.get('r'))
    ordered = ordered and r > prev_row
    prev_row = r
    prev_col = 0
    for c in row.findall(M + 'c'):
        col, rr = ref(c.get('r'))
        ordered = ordered and rr == r and col > prev_col
        prev_col = col
        used.append((rr, col))
children = [child.tag for child in sheet]
dim = sheet.find(M + 'dimension')
def name(col):
    s = ''
    while col:
        col, rest = divmod(col - 1, 26)
        s = chr(65 + rest) + s
    return s
expected = 'A1'
if used:
    lo = name(min(c for _, c in used)) + str(min(r for r, _ in used))
    hi = name(max(c for _, c in used)) + str(max(r for r, _ in used))
    expected = lo if lo == hi else lo + ':' + hi
print(json.dumps({'title': ws.title, 'cells': cells, 'types': types, 'workbookType': wbtype,
                  'ordered': ordered, 'dimension': dim.get('ref') if dim is not None else None,
                  'expectedDimension': expected,
                  'dimensionPlace': children.index(M + 'dimension') if dim is not None else -1,
                  'firstChild': children[0]}))
)PY";

struct Package {
    QString title;
    QVector<QStringList> cells; // row by row from row 1; a missing value reads "<none>"
    QStringList types;
    QString workbookType;
    bool ordered = false;
    QString dimension, expectedDimension;
    int dimensionPlace = -1;
    QString firstChild;
};

QString python()
{
    return QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                 : QStringLiteral("python3");
}

Package readBack(const QString &path)
{
    Package wb;
    QProcess p;
    p.start(python(), {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    const bool finished = p.waitForFinished(60000);
    const QByteArray out = p.readAllStandardOutput();
    if (!finished || p.exitCode() != 0) {
        ADD_FAILURE() << "the reader (Debian's python3-openpyxl) failed on " << path.toStdString() << ":\n"
                      << p.readAllStandardError().toStdString();
        return wb;
    }
    const QJsonObject o = QJsonDocument::fromJson(out).object();
    wb.title = o["title"].toString();
    for (const QJsonValue &row : o["cells"].toArray()) {
        QStringList cells;
        for (const QJsonValue &c : row.toArray())
            cells << (c.isNull() ? QStringLiteral("<none>") : c.toString());
        wb.cells << cells;
    }
    for (const QJsonValue &t : o["types"].toArray()) wb.types << t.toString();
    const QJsonArray wbType = o["workbookType"].toArray();
    wb.workbookType = wbType.isEmpty() ? QString() : wbType[0].toString();
    wb.ordered = o["ordered"].toBool();
    wb.dimension = o["dimension"].toString();
    wb.expectedDimension = o["expectedDimension"].toString();
    wb.dimensionPlace = o["dimensionPlace"].toInt();
    wb.firstChild = o["firstChild"].toString();
    return wb;
}

// What Excel needs to open the file without repairing it.
void expectSoundPackage(const Package &wb)
{
    EXPECT_EQ(wb.workbookType, "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml")
        << "a workbook, not a template";
    EXPECT_TRUE(wb.ordered) << "rows and cells in ascending order";
    EXPECT_EQ(wb.dimension, wb.expectedDimension);
    EXPECT_TRUE(wb.dimensionPlace == 0 ||
                (wb.dimensionPlace == 1 && wb.firstChild.endsWith(QLatin1String("sheetPr"))));
}

QStringList isotopeHeadings()
{
    return {QStringLiteral("同位素"),   QStringLiteral("矿物A"),    QStringLiteral("矿物B"),
            QStringLiteral("A"),        QStringLiteral("B"),        QStringLiteral("C"),
            QStringLiteral("适用范围"), QStringLiteral("资料来源"), QStringLiteral("数据集"),
            QStringLiteral("σA"),       QStringLiteral("σB"),       QStringLiteral("σC"),
            QStringLiteral("cov(A,B)"), QStringLiteral("cov(A,C)"), QStringLiteral("cov(B,C)"),
            QStringLiteral("DOI")};
}

QStringList traceHeadings()
{
    return {QStringLiteral("元素"),     QStringLiteral("矿物A"),    QStringLiteral("矿物B"),
            QStringLiteral("A"),        QStringLiteral("B"),        QStringLiteral("函数"),
            QStringLiteral("适用范围"), QStringLiteral("资料来源"), QStringLiteral("C"),
            QStringLiteral("n"),        QStringLiteral("E"),        QStringLiteral("F"),
            QStringLiteral("X"),        QStringLiteral("ν(SiO2)"),  QStringLiteral("ν(TiO2)"),
            QStringLiteral("K单位"),    QStringLiteral("σA"),       QStringLiteral("σB"),
            QStringLiteral("cov(A,B)"), QStringLiteral("DOI")};
}

class ExportTransfer : public ::testing::Test {
  protected:
    void SetUp() override
    {
        CalibrationExport::setTemplateFolder(QStringLiteral(LORVANE_BIN_DIR "/xls"));
        CalibrationExport::setOutputFolder(out.path());
        CalibrationExport::setOpener([this](const QString &path) {
            opened << path;
            return openerAnswer;
        });
    }
    void TearDown() override
    {
        CalibrationExport::setTemplateFolder(QString());
        CalibrationExport::setOutputFolder(QString());
        CalibrationExport::setOpener(nullptr);
    }
    QTreeWidgetItem *add(const QStringList &values, const QString &state = QStringLiteral("ok"))
    {
        return PendingRows::AppendRow(list.get(), values, QString(), state, state);
    }
    QStringList exported() const { return QDir(out.path()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir out;
    ScriptedDialogs dialogs;
    std::unique_ptr<QTreeWidget> list = makeList();
    QStringList opened;
    bool openerAnswer = true;
};

TEST_F(ExportTransfer, EveryVisibleCellArrivesAsTheTextShown)
{
    const QString type = QStringLiteral("氧同位素");
    add({QStringLiteral("石英"), QStringLiteral("水"), "3.38", "0", "-3.4", QStringLiteral("200-500℃"),
         QStringLiteral("Clayton et al.(1972)")});
    add({QStringLiteral("方解石"), QStringLiteral("水"), "2.78", "", "-2.89", "", ""}, "add");
    QTreeWidgetItem *failed = add({" lead and trail ", "0012", "1E-05", "_x0041_", "a\tb",
                                   QStringLiteral("新"), QString("x") + QChar(1) + "y"},
                                  "edit");
    PendingRows::SetIcon(failed, "editerror");
    list->sortItems(1, Qt::AscendingOrder); // the order shown is the order exported

    const QString path = ExportToExcel(nullptr, list.get(), CalibrationKind::Isotope, type, true);

    EXPECT_EQ(QFileInfo(path).fileName(), "IsotopeThemometer1.xlsx");
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(out.path()).absoluteFilePath());
    EXPECT_EQ(opened, QStringList({path}));
    EXPECT_TRUE(dialogs.messages().isEmpty());

    const Package wb = readBack(path);
    expectSoundPackage(wb);
    EXPECT_EQ(wb.title, QStringLiteral("同位素温度计"));
    ASSERT_EQ(wb.cells.size(), 4);
    EXPECT_EQ(wb.cells[0], isotopeHeadings()) << "row 1 is the template's";
    for (int i = 0; i < 3; ++i) {
        QStringList expected{type};
        for (const QString &v : rowValues(*list, i)) expected << (v.isEmpty() ? "<none>" : v);
        while (expected.size() < isotopeHeadings().size()) expected << "<none>"; // the template's columns
        EXPECT_EQ(wb.cells[i + 1], expected) << "worksheet row " << i + 2;
    }
    EXPECT_EQ(wb.cells[1][1], " lead and trail ");
    EXPECT_EQ(wb.cells[3][1], QStringLiteral("石英"));
    EXPECT_EQ(wb.types, QStringList({"s"})) << "numbers stay texts, as the list shows them";
}

TEST_F(ExportTransfer, EmptyListGivesTheTemplateAlone)
{
    const QString path =
        ExportToExcel(nullptr, list.get(), CalibrationKind::Isotope, QStringLiteral("氧同位素"), true);
    const Package wb = readBack(path);
    expectSoundPackage(wb);
    ASSERT_EQ(wb.cells.size(), 1);
    EXPECT_EQ(wb.cells[0], isotopeHeadings());
    EXPECT_EQ(wb.dimension, "A1:P1");
    EXPECT_EQ(opened.size(), 1);

    // The template the build made is a template, with the same heading row.
    const Package tpl = readBack(CalibrationExport::TemplatePath(CalibrationKind::Isotope));
    EXPECT_EQ(tpl.workbookType,
              "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml");
    EXPECT_EQ(tpl.cells.value(0), isotopeHeadings());
}

TEST_F(ExportTransfer, RowsTheFilterHidIsNotExported)
{
    add({"r1"});
    add({"r2"})->setHidden(true);
    add({"r3"});

    const QString path =
        ExportToExcel(nullptr, list.get(), CalibrationKind::TraceElement, QStringLiteral("Ni"), false);

    EXPECT_EQ(QFileInfo(path).fileName(), "traceelementThemometer1.xlsx");
    EXPECT_TRUE(opened.isEmpty()) << "visibility False: saved, not opened";
    const Package wb = readBack(path);
    expectSoundPackage(wb);
    EXPECT_EQ(wb.title, QStringLiteral("微量元素温度计"));
    ASSERT_EQ(wb.cells.size(), 3);
    EXPECT_EQ(wb.cells[0], traceHeadings());
    EXPECT_EQ(wb.cells[1].mid(0, 2), QStringList({"Ni", "r1"}));
    EXPECT_EQ(wb.cells[2].mid(0, 2), QStringList({"Ni", "r3"}));
    EXPECT_EQ(wb.dimension, "A1:T3") << "the template's headings run to the DOI";
}

TEST_F(ExportTransfer, MissingOrBrokenTemplateRaisesTheExportError)
{
    add({"r1"});
    const QString broken = out.filePath(QStringLiteral("broken.xltx"));
    writeFile(broken, "not a zip");
    QTemporaryDir noSheet;
    const QString empty = noSheet.filePath(QStringLiteral("empty.xltx"));
    {
        int err = 0;
        zip_t *za = zip_open(QFile::encodeName(empty).constData(), ZIP_CREATE, &err);
        ASSERT_NE(za, nullptr);
        const char types[] =
            "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>";
        zip_file_add(za, "[Content_Types].xml", zip_source_buffer(za, types, sizeof types - 1, 0), 0);
        ASSERT_EQ(zip_close(za), 0);
    }

    for (const QString &tpl : {out.filePath(QStringLiteral("missing.xltx")), broken, empty}) {
        try {
            ExportToExcel(nullptr, list.get(), tpl, "Ni", true);
            ADD_FAILURE() << "no error for " << tpl.toStdString();
        } catch (const AppError &e) {
            EXPECT_EQ(e.description(), kExportError);
            EXPECT_EQ(e.source(), "ExportToExcel");
        }
    }
    EXPECT_EQ(exported(), QStringList({"broken.xltx"})) << "no workbook left behind";
    EXPECT_TRUE(opened.isEmpty());

    // The template beside the program is where the manager's export looks.
    CalibrationExport::setTemplateFolder(QString());
    EXPECT_EQ(CalibrationExport::TemplatePath(CalibrationKind::Isotope),
              QCoreApplication::applicationDirPath() + "/xls/IsotopeThemometer.xltx");
    EXPECT_EQ(CalibrationExport::TemplatePath(CalibrationKind::TraceElement),
              QCoreApplication::applicationDirPath() + "/xls/traceelementThemometer.xltx");
}

TEST_F(ExportTransfer, SecondExportDoesNotOverwriteTheFirst)
{
    add({"first"});
    const QString one = ExportToExcel(nullptr, list.get(), CalibrationKind::Isotope, "O", true);
    list->clear();
    add({"second"});
    const QString two = ExportToExcel(nullptr, list.get(), CalibrationKind::Isotope, "O", true);

    EXPECT_NE(one, two);
    EXPECT_EQ(exported(), QStringList({"IsotopeThemometer1.xlsx", "IsotopeThemometer2.xlsx"}));
    EXPECT_EQ(readBack(one).cells.value(1).value(1), "first");
    EXPECT_EQ(readBack(two).cells.value(1).value(1), "second");
    EXPECT_EQ(opened, QStringList({one, two}));
}

TEST_F(ExportTransfer, NothingToOpenItTellsWhereTheFileIs)
{
    openerAnswer = false;
    add({"r1"});
    const QString path = ExportToExcel(nullptr, list.get(), CalibrationKind::Isotope, "O", true);

    EXPECT_TRUE(QFileInfo::exists(path));
    const QList<ScriptedDialogs::Call> messages = dialogs.messages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, QStringLiteral("没有找到可以打开电子表格的程序。数据已导出到：\n") +
                                    QDir::toNativeSeparators(path));
    EXPECT_EQ(messages[0].caption, "Lorvane");
    EXPECT_EQ(messages[0].buttons, Dialogs::Buttons::Ok);
}

TEST_F(ExportTransfer, SavedInTheDocumentsFolderOrElseTheTemporaryFolder)
{
    QTemporaryDir home, tmp;
    const QByteArray oldHome = qgetenv("HOME"), oldTmp = qgetenv("TMPDIR");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    CalibrationExport::setOutputFolder(QString());

    const QString withoutDocuments = CalibrationExport::OutputFolder();
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Documents")));
    const QString path = ExportToExcel(nullptr, list.get(), CalibrationKind::Isotope, "O", false);

    qputenv("HOME", oldHome);
    qputenv("TMPDIR", oldTmp);
    EXPECT_EQ(QDir(withoutDocuments).canonicalPath(), QDir(tmp.path()).canonicalPath());
    EXPECT_EQ(QFileInfo(path).canonicalFilePath(),
              QDir(home.path() + "/Documents").canonicalPath() + "/IsotopeThemometer1.xlsx");
}

// A template as a user may have edited it in a spreadsheet program: prefixed
// names, an absolute relationship target, a number and a note already in row 2,
// and a footer further down.
TEST_F(ExportTransfer, EditedTemplateKeepsItsOwnCellsInOrder)
{
    const QString tpl = out.filePath(QStringLiteral("Edited.xltx"));
    {
        const QByteArray parts[][2] = {
            {"[Content_Types].xml",
             R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml"/><Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/></Types>)"},
            {"_rels/.rels",
             R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="/xl/workbook.xml"/></Relationships>)"},
            {"xl/_rels/workbook.xml.rels",
             R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)"},
            {"xl/workbook.xml",
             R"(<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><x:sheets><x:sheet name="Data" sheetId="1" r:id="rId7"/></x:sheets></x:workbook>)"},
            {"xl/worksheets/sheet1.xml",
             R"(<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:sheetPr/><x:sheetData><x:row r="1"><x:c r="A1" t="inlineStr"><x:is><x:t>T</x:t></x:is></x:c></x:row><x:row r="2" spans="1:9"><x:c r="C2"><x:v>7</x:v></x:c><x:c r="I2" t="inlineStr"><x:is><x:t>note</x:t></x:is></x:c></x:row><x:row r="9"><x:c r="A9" t="inlineStr"><x:is><x:t>footer</x:t></x:is></x:c></x:row></x:sheetData></x:worksheet>)"},
        };
        int err = 0;
        zip_t *za = zip_open(QFile::encodeName(tpl).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
        ASSERT_NE(za, nullptr);
        for (const auto &part : parts)
            zip_file_add(za, part[0].constData(),
                         zip_source_buffer(za, part[1].constData(), zip_uint64_t(part[1].size()), 0), 0);
        ASSERT_EQ(zip_close(za), 0);
    }
    add({"m2", "", "d2"});
    add({"m3"});
    add({"m4"});

    const QString path = ExportToExcel(nullptr, list.get(), tpl, "Ni", false);

    EXPECT_EQ(QFileInfo(path).fileName(), "Edited1.xlsx");
    const Package wb = readBack(path);
    expectSoundPackage(wb);
    EXPECT_EQ(wb.dimension, "A1:I9");
    ASSERT_EQ(wb.cells.size(), 9);
    EXPECT_EQ(wb.cells[0][0], "T");
    // The list's empty C text clears the template's C2; I2 stays.
    EXPECT_EQ(wb.cells[1],
              QStringList({"Ni", "m2", "<none>", "d2", "<none>", "<none>", "<none>", "<none>", "note"}));
    EXPECT_EQ(wb.cells[3].mid(0, 2), QStringList({"Ni", "m4"}));
    EXPECT_EQ(wb.cells[4][0], "<none>");
    EXPECT_EQ(wb.cells[8][0], "footer");
}

// ---- cell texts ------------------------------------------------------------------

TEST(WorkbookTransfer, CellTextsEscapeWhatXmlCannotCarry)
{
    using Workbook::CellText;
    EXPECT_EQ(CellText(QStringLiteral("石英 1.5")), QStringLiteral("石英 1.5"));
    EXPECT_EQ(CellText(QString("a") + QChar(1) + "b"), "a_x0001_b");
    EXPECT_EQ(CellText("a\rb"), "a_x000D_b");
    EXPECT_EQ(CellText("a\tb\nc"), "a\tb\nc");
    EXPECT_EQ(CellText("_x0041_"), "_x005F_x0041_");
    EXPECT_EQ(CellText("_x00G1_"), "_x00G1_");
    EXPECT_EQ(CellText(QString(QChar(0xD800))), QString(QChar(QChar::ReplacementCharacter)));
    EXPECT_EQ(CellText(QString::fromUcs4(U"\U00020000")), QString::fromUcs4(U"\U00020000"));

    EXPECT_EQ(Workbook::ColumnName(1), "A");
    EXPECT_EQ(Workbook::ColumnName(8), "H");
    EXPECT_EQ(Workbook::ColumnName(26), "Z");
    EXPECT_EQ(Workbook::ColumnName(27), "AA");
    EXPECT_EQ(Workbook::ColumnName(703), "AAA");
}

} // namespace

// ---- through the trace-element manager ----------------------------------------

namespace {

void clickTraceButton(QWidget *form, const char *key)
{
    QToolBar *bar = findNamed<QToolBar>(form, "Toolbar1");
    QWidget *w = bar->widgetForAction(findNamed<QAction>(bar, key));
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton);
}

void clickElement(QWidget *form, const QString &text)
{
    auto *tree = findNamed<QTreeWidget>(form, "TreeView1");
    QTreeWidgetItem *n = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(n, nullptr);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(n).center());
}

} // namespace

class TraceManagerTransfer : public ExportTransfer {
  protected:
    void SetUp() override
    {
        ExportTransfer::SetUp();
        db.exec(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (1,'Fe','石英','熔体',-3765,5.5,'10','r1')");
        db.exec(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (2,'FeO','辉石','熔体',-3000,4,'e','r2')");
        mgr = std::make_unique<frmTraceMgr>();
        mgr->Load();
        mgr->show();
        clickElement(mgr.get(), "Fe");
    }
    void TearDown() override
    {
        mgr->setHasSaved(true);
        mgr->Unload();
        ExportTransfer::TearDown();
    }
    QTreeWidget *rows() const { return findNamed<QTreeWidget>(mgr.get(), "ListView1"); }
    void importLines(const QByteArray &bytes)
    {
        const QString path = in.filePath(QStringLiteral("rows.txt"));
        writeFile(path, bytes);
        dialogs.answerFile(path);
        clickTraceButton(mgr.get(), "import");
    }

    TempDatabase db;
    QTemporaryDir in;
    std::unique_ptr<frmTraceMgr> mgr;
};

// Clicking Fe lists FeO's thermometers as well: each row goes out under its own element.
TEST_F(TraceManagerTransfer, ExportLabelsEachRowWithItsOwnElement)
{
    ASSERT_EQ(rows()->topLevelItemCount(), 2);
    importLines("石榴子石\t熔体\t-100\t1\t10\n");
    // The export asks where to save, offering the template's name.
    const QString chosen = in.filePath(QStringLiteral("mine"));
    dialogs.answerFile(chosen);
    clickTraceButton(mgr.get(), "export");
    ASSERT_EQ(opened, QStringList({chosen + QStringLiteral(".xlsx")}));
    EXPECT_EQ(dialogs.calls().last().kind, QStringLiteral("save"));
    EXPECT_EQ(dialogs.calls().last().file.fileName, QStringLiteral("traceelementThemometer.xlsx"));
    const Package wb = readBack(opened.first());
    ASSERT_EQ(wb.cells.size(), 4);
    EXPECT_EQ(wb.cells[1].mid(0, 2), QStringList({"Fe", QStringLiteral("石英")}));
    EXPECT_EQ(wb.cells[2].mid(0, 2), QStringList({"FeO", QStringLiteral("辉石")}));
    EXPECT_EQ(wb.cells[3].mid(0, 2), QStringList({"Fe", QStringLiteral("石榴子石")})) << "imported under Fe";
}

// The table has no column for an imported source of data: it is kept in the remark.
TEST_F(TraceManagerTransfer, AnImportedSourceSurvivesTheSaveInTheRemark)
{
    importLines(QStringLiteral("石榴子石\t熔体\t-100\t1\t10\t600-900℃\tSmith (2001)\r\n"
                               "锆石\t熔体\t-200\t2\te\t\tJones 1999\r\n"
                               "磷灰石\t熔体\t-300\t3\t10\t备注\t\r\n")
                    .toUtf8());
    ASSERT_EQ(rows()->topLevelItemCount(), 5);
    EXPECT_EQ(rows()->topLevelItem(2)->text(7), "Smith (2001)");
    clickTraceButton(mgr.get(), "save");
    EXPECT_EQ(db.scalar("select Mark_s from TraceElement where MinA_s='石榴子石'"),
              QStringLiteral("600-900℃；资料来源：Smith (2001)"));
    EXPECT_EQ(db.scalar("select Mark_s from TraceElement where MinA_s='锆石'"),
              QStringLiteral("资料来源：Jones 1999"));
    EXPECT_EQ(db.scalar("select Mark_s from TraceElement where MinA_s='磷灰石'"), QStringLiteral("备注"));
    // The saved row shows what is stored, as a reload does.
    QTreeWidgetItem *saved = rows()->topLevelItem(2);
    EXPECT_EQ(PendingRows::State(saved), "ok");
    EXPECT_EQ(saved->text(6), QStringLiteral("600-900℃；资料来源：Smith (2001)"));
    EXPECT_EQ(saved->text(7), "");

    clickTraceButton(mgr.get(), "refresh");
    QStringList remarks;
    for (int i = 0; i < rows()->topLevelItemCount(); ++i) remarks << rows()->topLevelItem(i)->text(6);
    EXPECT_TRUE(remarks.contains(QStringLiteral("600-900℃；资料来源：Smith (2001)")));
    EXPECT_TRUE(remarks.contains(QStringLiteral("资料来源：Jones 1999")));
    // Stored once, with the source in its remark.
    EXPECT_EQ(db.scalar("select count(*) from TraceElement where Mark_s like '%Smith%'"), "1");
}

TEST_F(TraceManagerTransfer, ImportedConstantsSinglePrecisionCannotHoldAreMarked)
{
    importLines("石榴子石\t熔体\t1e-50\t1\t10\n锆石\t熔体\t-200\t1E+99\te\n磷灰石\t熔体\tx\t1\t10\n"
                "榍石\t熔体\t0e-50\t-1.5\t10\n");
    clickTraceButton(mgr.get(), "save");
    for (int i : {2, 3}) {
        EXPECT_EQ(PendingRows::IconKey(rows()->topLevelItem(i)), "adderror") << i;
        EXPECT_EQ(PendingRows::ToolTip(rows()->topLevelItem(i)), "数值超出单精度范围") << i;
    }
    EXPECT_EQ(PendingRows::ToolTip(rows()->topLevelItem(4)), "常数必须为数字");
    EXPECT_EQ(PendingRows::State(rows()->topLevelItem(5)), "ok");
    EXPECT_EQ(db.scalar("select count(*) from TraceElement"), "3");
    EXPECT_EQ(db.scalar("select count(*) from TraceElement where MinA_s='石榴子石'"), "0");
}

// ---- the terms through import, save and export ----------------------------------

using ManagerTest::storedTraceRow;

// Lines of six or seven fields import as they always did, with the default
// terms; terms that would give no temperature, or a wrong one, never reach the
// table: the row is marked the way a constant that is no number is.
TEST_F(TraceManagerTransfer, ImportedTermsAreStoredOrTheirRowIsMarked)
{
    const QString head = QStringLiteral("\t熔体\t-100\t1\t10\tr\t"); // up to the source of data
    struct Case {
        QString line;      // after mineral A
        QString refusal;   // "" stored
        QStringList terms; // as stored
    };
    const QStringList defaults{"0", "1", "0", "0", "", "0", "0", ""};
    const Case cases[] = {
        {"\t熔体\t-100\t1\t10\t备注", "", defaults},
        {head + "Jones 1999", "", defaults},
        {head + "\t-660\t0.35\t\t\t\t-1\t1\tppm", "", {"-660", "0.35", "0", "0", "", "-1", "1", "ppm"}},
        {head + "\t0\t0", "", {"0", "0", "0", "0", "", "0", "0", ""}},
        {head + "\t\t\t\t0.98\tCr#", "", {"0", "1", "0", "0.98", "Cr#", "0", "0", ""}},
        {head + "\tx", "常数必须为数字", {}},
        {head + "\t\t\t\t\t\t1e99", "数值超出单精度范围", {}},
        {head + "\t-660\t-0.35", "指数n必须大于0", {}},
        {head + "\t\t\t0.5\t\t ", "请输入成分变量X的名称", {}},
    };
    QByteArray text;
    for (int i = 0; i < int(std::size(cases)); ++i)
        text += ("M" + QString::number(i) + cases[i].line + "\r\n").toUtf8();
    importLines(text);
    EXPECT_EQ(dialogs.lastMessage(), "导入完成：新增5条，已存在0条，出错4条");
    clickTraceButton(mgr.get(), "save");
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].line.toStdString());
        const QTreeWidgetItem *r = rows()->topLevelItem(2 + i);
        EXPECT_EQ(PendingRows::IconKey(r), cases[i].refusal.isEmpty() ? "ok" : "adderror");
        EXPECT_EQ(PendingRows::ToolTip(r), cases[i].refusal);
        EXPECT_EQ(storedTraceRow(db.conn(), "MinA_s='M" + QString::number(i) + "'").mid(8, 8),
                  cases[i].terms);
        if (cases[i].refusal.isEmpty()) {
            EXPECT_EQ(PendingRows::Values(r, 15).mid(7), cases[i].terms) << "shown as stored";
        }
    }
    EXPECT_EQ(storedTraceRow(db.conn(), "MinA_s='M1'").value(6), QStringLiteral("r；资料来源：Jones 1999"));

    // A line past the terms, the error and the DOI is none of ours: the import stops before it.
    importLines((QStringLiteral("M9") + head + "\t0\t1\t0\t0\t\t0\t0\tppm\t1\t0.1\t0\t10.1000/x\textra\r\n")
                    .toUtf8());
    EXPECT_EQ(rows()->topLevelItemCount(), 2 + int(std::size(cases)));
    EXPECT_EQ(dialogs.lastMessage(), "无效的属性值");
}

// A row added with its terms is stored, listed, exported, and, read back from
// the workbook as a text file, imported into another database unchanged.
TEST_F(TraceManagerTransfer, TermsSurviveSaveExportAndImportElsewhere)
{
    dialogs.onModal([](QDialog *dlg) {
        const char *const boxes[] = {"Text2_1",  "Text2_2",   "Text2_3",  "Text2_4",   "txtC",
                                     "txtN",     "txtF",      "txtXName", "txtNuSiO2", "txtNuTiO2",
                                     "txtKUnit", "txtSigmaA", "txtSigmaB"};
        const QStringList typed{QStringLiteral("橄榄石"),
                                QStringLiteral("尖晶石"),
                                "-11148.27",
                                "0.6410257",
                                "-660",
                                "0.35",
                                "0.9855072",
                                "Cr#",
                                "-1",
                                "1",
                                "Al2O3(ol)/Al2O3(sp)",
                                "86",
                                "0.072"};
        for (int i = 0; i < typed.size(); ++i) {
            findNamed<QLineEdit>(dlg, boxes[i])->setFocus();
            typeText(findNamed<QLineEdit>(dlg, boxes[i]), typed[i]);
        }
        QTest::mouseClick(findNamed<QRadioButton>(dlg, "Option1"), Qt::LeftButton);
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    });
    clickTraceButton(mgr.get(), "new");
    clickTraceButton(mgr.get(), "save");
    const QStringList stored = storedTraceRow(db.conn(), QStringLiteral("MinA_s='橄榄石'"));
    EXPECT_EQ(stored.mid(5), QStringList({"e", "", "", "-660", "0.35", "0", "0.9855072", "Cr#", "-1", "1",
                                          "Al2O3(ol)/Al2O3(sp)", "86", "0.072", "0", ""})); // E left empty: 0
    EXPECT_EQ(
        db.scalar("select AA||' '||BB||' '||AB from Covariance where Table_S='TraceElement' and Row_N=3"),
        "7396.0 0.005184 0.0")
        << "σ typed, stored as variances; no covariance";
    Recordset rs =
        db.conn().Execute(QStringLiteral("select PowerN_sng,ConstF_sng from TraceElement where ID_N=3"));
    EXPECT_EQ(rs.Fields(0).Single(), 0.35f);
    EXPECT_EQ(rs.Fields(1).Single(), 0.9855072f);

    clickTraceButton(mgr.get(), "refresh");
    ASSERT_EQ(rows()->topLevelItemCount(), 3);
    EXPECT_EQ(QStringList{"Fe"} + PendingRows::Values(rows()->topLevelItem(2), 19), stored);
    dialogs.answerFile(in.filePath(QStringLiteral("terms.xlsx")));
    clickTraceButton(mgr.get(), "export");
    ASSERT_EQ(opened.size(), 1);
    const Package wb = readBack(opened.first());
    EXPECT_EQ(wb.cells.value(0), traceHeadings());
    QStringList exported = wb.cells.value(3);
    exported.replaceInStrings(QRegularExpression(QStringLiteral("^<none>$")), QString());
    EXPECT_EQ(exported, stored);

    // Columns B..P of the workbook are the fields of an import line.
    const QString text = in.filePath(QStringLiteral("fromWorkbook.txt"));
    writeFile(text, TextCodec::Encode(exported.mid(1).join(QLatin1Char('\t'))));
    ASSERT_TRUE(QDir(in.path()).mkpath(QStringLiteral("library/trace")));
    writeFile(in.filePath(QStringLiteral("library/trace/Fe.txt")), QByteArray());
    ProgramFolders::Layout layout;
    layout.dataDir = in.path(); // the tree of an empty database offers Fe
    ProgramFolders::SetCurrent(layout);
    {
        TempDatabase other;
        frmTraceMgr second;
        second.Load();
        second.show();
        clickElement(&second, "Fe");
        dialogs.answerFile(text);
        clickTraceButton(&second, "import");
        clickTraceButton(&second, "save");
        EXPECT_EQ(other.count(QStringLiteral("TraceElement")), 1);
        EXPECT_EQ(storedTraceRow(other.conn(), QStringLiteral("ID_N=1")), stored);
        second.Unload();
    }
    ProgramFolders::ResetCurrent();
    mdlFunction::setSharedConnection(&db.conn());
}
