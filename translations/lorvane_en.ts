<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AppError</name>
    <message>
        <source>无效的过程调用或参数</source>
        <translation>Invalid procedure call or argument</translation>
    </message>
    <message>
        <source>溢出</source>
        <translation>Overflow</translation>
    </message>
    <message>
        <source>除数为零</source>
        <translation>Division by zero</translation>
    </message>
    <message>
        <source>类型不匹配</source>
        <translation>Type mismatch</translation>
    </message>
    <message>
        <source>文件未找到</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>路径/文件访问错误</source>
        <translation>Path/file access error</translation>
    </message>
    <message>
        <source>无效使用 Null</source>
        <translation>Invalid use of Null</translation>
    </message>
    <message>
        <source>BOF 或 EOF 中有一个是“真”，或者当前记录已被删除，所需的操作要求一个当前的记录。</source>
        <translation>Either BOF or EOF is true, or the current record has been deleted; the operation requires a current record.</translation>
    </message>
    <message>
        <source>查询超时已过期</source>
        <translation>Query timeout expired</translation>
    </message>
    <message>
        <source>应用程序定义的错误或对象定义的错误</source>
        <translation>Application-defined or object-defined error</translation>
    </message>
</context>
<context>
    <name>Background</name>
    <message>
        <source>欢迎使用 Lorvane</source>
        <translation>Welcome to Lorvane</translation>
    </message>
    <message>
        <source>矿物对地质温度计工作台</source>
        <translation>Mineral-pair geothermometry workbench</translation>
    </message>
</context>
<context>
    <name>Batch</name>
    <message>
        <source>文件只有表头，没有样品行</source>
        <translation>The file has only a header, no sample rows</translation>
    </message>
    <message>
        <source>文件中没有样品行</source>
        <translation>The file has no sample rows</translation>
    </message>
    <message>
        <source>由%1导出：%2–%3 − %4–%3</source>
        <translation>Derived from %1: %2–%3 − %4–%3</translation>
    </message>
    <message>
        <source>缺少δA</source>
        <translation>Missing δA</translation>
    </message>
    <message>
        <source>缺少δB</source>
        <translation>Missing δB</translation>
    </message>
    <message>
        <source>δ值必须大于-1000‰</source>
        <translation>δ must be greater than -1000‰</translation>
    </message>
    <message>
        <source>缺少含量A</source>
        <translation>Missing concentration A</translation>
    </message>
    <message>
        <source>缺少含量B</source>
        <translation>Missing concentration B</translation>
    </message>
    <message>
        <source>含量B为零</source>
        <translation>Concentration B is zero</translation>
    </message>
    <message>
        <source>缺少含量或K</source>
        <translation>Missing concentrations or K</translation>
    </message>
    <message>
        <source>缺少压力</source>
        <translation>Missing pressure</translation>
    </message>
    <message>
        <source>缺少%1</source>
        <translation>Missing %1</translation>
    </message>
    <message>
        <source>缺少同位素</source>
        <translation>Missing isotope</translation>
    </message>
    <message>
        <source>缺少元素</source>
        <translation>Missing element</translation>
    </message>
    <message>
        <source>缺少矿物A</source>
        <translation>Missing mineral A</translation>
    </message>
    <message>
        <source>缺少矿物B</source>
        <translation>Missing mineral B</translation>
    </message>
    <message>
        <source>K必须大于零</source>
        <translation>K must be greater than zero</translation>
    </message>
    <message>
        <source>表头中没有样品数值列（%1）</source>
        <translation>The header names no column of sample values (%1)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>字段多于表头（小数逗号须加引号）：%1</source>
        <translation>More fields than the header (quote decimal commas): %1</translation>
    </message>
    <message>
        <source>无法打开文件</source>
        <translation>Cannot open the file</translation>
    </message>
    <message>
        <source>不是数字：%1</source>
        <translation>Not a number: %1</translation>
    </message>
    <message>
        <source>数值超出范围：%1</source>
        <translation>Number out of range: %1</translation>
    </message>
    <message>
        <source>σ不能为负：%1</source>
        <translation>σ cannot be negative: %1</translation>
    </message>
    <message>
        <source>压力不能为负：%1</source>
        <translation>Pressure cannot be negative: %1</translation>
    </message>
    <message>
        <source>活度须大于0且不大于1：%1</source>
        <translation>Activity must be above 0 and at most 1: %1</translation>
    </message>
    <message>
        <source>无法读取文件：%1</source>
        <translation>Cannot read the file: %1</translation>
    </message>
    <message>
        <source>行过长或引号未闭合</source>
        <translation>Line too long or quotation not closed</translation>
    </message>
    <message>
        <source>文件编码前后不一致（开头为UTF-8）</source>
        <translation>The file changes its encoding (it begins as UTF-8)</translation>
    </message>
</context>
<context>
    <name>BatchChart</name>
    <message>
        <source>，导出</source>
        <translation>, derived</translation>
    </message>
    <message>
        <source>（反向）</source>
        <translation> (reversed)</translation>
    </message>
    <message>
        <source>%1：%2–%3</source>
        <translation>%1: %2–%3</translation>
    </message>
    <message>
        <source>T (℃)</source>
        <translation>T (°C)</translation>
    </message>
    <message>
        <source>样品Δ</source>
        <translation>Sample Δ</translation>
    </message>
    <message>
        <source>样品log K</source>
        <translation>Sample log K</translation>
    </message>
    <message>
        <source>解</source>
        <translation>Solutions</translation>
    </message>
    <message>
        <source>温度汇总（每%1个样品取1个）</source>
        <translation>Temperature summary (1 sample in %1)</translation>
    </message>
    <message>
        <source>温度汇总</source>
        <translation>Temperature summary</translation>
    </message>
    <message>
        <source>样品</source>
        <translation>Sample</translation>
    </message>
</context>
<context>
    <name>BatchRecord</name>
    <message>
        <source>项目</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>文献</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>样品数</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>参数无效：%1：%2</source>
        <translation>Invalid parameter: %1: %2</translation>
    </message>
</context>
<context>
    <name>BatchResultsModel</name>
    <message>
        <source>95%下限(℃)</source>
        <translation>95% lower (°C)</translation>
    </message>
    <message>
        <source>95%上限(℃)</source>
        <translation>95% upper (°C)</translation>
    </message>
    <message>
        <source>另一解95%下限(℃)</source>
        <translation>Other solution 95% lower (°C)</translation>
    </message>
    <message>
        <source>另一解95%上限(℃)</source>
        <translation>Other solution 95% upper (°C)</translation>
    </message>
    <message>
        <source>样品</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>矿物对</source>
        <translation>Mineral pair</translation>
    </message>
    <message>
        <source>函数</source>
        <translation>Log base</translation>
    </message>
    <message>
        <source>资料来源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>温度(℃)</source>
        <translation>Temperature (°C)</translation>
    </message>
    <message>
        <source>±1σ(℃)</source>
        <translation>±1σ (°C)</translation>
    </message>
    <message>
        <source>分析σ(℃)</source>
        <translation>Analytical σ (°C)</translation>
    </message>
    <message>
        <source>标定σ(℃)</source>
        <translation>Calibration σ (°C)</translation>
    </message>
    <message>
        <source>95%区间(℃)</source>
        <translation>95% interval (°C)</translation>
    </message>
    <message>
        <source>另一解(℃)</source>
        <translation>Other solution (°C)</translation>
    </message>
    <message>
        <source>另一解95%区间(℃)</source>
        <translation>Other solution 95% interval (°C)</translation>
    </message>
    <message>
        <source>适用范围</source>
        <translation>Range of application</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>汇总</source>
        <translation>Summary</translation>
    </message>
    <message>
        <source>无适用范围内的温度</source>
        <translation>No temperature within its range</translation>
    </message>
    <message numerus="yes">
        <source>%n个适用温度的平均值；最低–最高 %1–%2</source>
        <translation>
            <numerusform>Mean of %n temperature in range; lowest–highest %1–%2</numerusform>
            <numerusform>Mean of %n temperatures in range; lowest–highest %1–%2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BatchTexts</name>
    <message>
        <source>超出适用范围</source>
        <translation>Outside the range of application</translation>
    </message>
    <message>
        <source>未注明适用范围，超出0-1200℃</source>
        <translation>No range of application stated; outside 0-1200 °C</translation>
    </message>
    <message>
        <source>另一解%1℃亦在适用范围内</source>
        <translation>Another solution, %1 °C, is also within the range of application</translation>
    </message>
    <message>
        <source>另一解%1℃亦在0-1200℃内（未注明适用范围）</source>
        <translation>Another solution, %1 °C, is also within 0-1200 °C (no range of application stated)</translation>
    </message>
    <message>
        <source>未注明适用范围</source>
        <translation>No range of application stated</translation>
    </message>
    <message>
        <source>无解</source>
        <translation>No solution</translation>
    </message>
    <message>
        <source>无标定</source>
        <translation>No calibration</translation>
    </message>
    <message>
        <source>数据无效：%1</source>
        <translation>Invalid data: %1</translation>
    </message>
    <message>
        <source>%1/%2次抽样无解</source>
        <translation>No solution in %1/%2 draws</translation>
    </message>
    <message>
        <source>另一解%1/%2次抽样无解</source>
        <translation>Other solution: none in %1/%2 draws</translation>
    </message>
    <message>
        <source>95%区间不含此温度</source>
        <translation>95% interval excludes this temperature</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>CalcWidgets</name>
    <message>
        <source>矿物A</source>
        <translation>Min. A</translation>
    </message>
    <message>
        <source>矿物B</source>
        <translation>Min. B</translation>
    </message>
    <message>
        <source>另一解%1℃亦在适用范围内</source>
        <translation>Another solution, %1 °C, is also within the range of application</translation>
    </message>
    <message>
        <source>另一解%1℃亦在0-1200℃内（未注明适用范围）</source>
        <translation>Another solution, %1 °C, is also within 0-1200 °C (no range of application stated)</translation>
    </message>
    <message>
        <source>未注明适用范围</source>
        <translation>No range of application stated</translation>
    </message>
    <message>
        <source>未注明适用范围，超出0-1200℃</source>
        <translation>No range of application stated; outside 0-1200 °C</translation>
    </message>
</context>
<context>
    <name>CalibrationEditDialog</name>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>不能为空！</source>
        <translation>This box cannot be empty!</translation>
    </message>
    <message>
        <source>必须为数字！</source>
        <translation>Must be a number!</translation>
    </message>
</context>
<context>
    <name>CalibrationExport</name>
    <message>
        <source>没有找到可以打开电子表格的程序。数据已导出到：
%1</source>
        <translation>No program was found to open the spreadsheet. The data were exported to:
%1</translation>
    </message>
</context>
<context>
    <name>CalibrationImport</name>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>文本文件(制表符分隔)|*.txt</source>
        <translation>Text file (tab-delimited)|*.txt</translation>
    </message>
</context>
<context>
    <name>CalibrationImportText</name>
    <message>
        <source>无效的属性值</source>
        <translation>Invalid property value</translation>
    </message>
</context>
<context>
    <name>CalibrationManager</name>
    <message>
        <source>当前修改未保存，立即保存？</source>
        <translation>The changes are not saved. Save them now?</translation>
    </message>
    <message>
        <source>修改尚未保存,立即保存？</source>
        <translation>Changes not saved yet. Save them now?</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>对象关闭时，不允许操作。</source>
        <translation>Operation is not allowed when the object is closed.</translation>
    </message>
    <message>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>筛选</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>保存至数据库</source>
        <translation>Save to the database</translation>
    </message>
    <message>
        <source>请输入矿物</source>
        <translation>Enter a mineral</translation>
    </message>
    <message>
        <source>查</source>
        <translation>Go</translation>
    </message>
    <message>
        <source>统计信息</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>当前记录：</source>
        <translation>Current:</translation>
    </message>
    <message>
        <source>总记录：</source>
        <translation>Total:</translation>
    </message>
    <message>
        <source>浏览</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>矿物A</source>
        <translation>Mineral A</translation>
    </message>
    <message>
        <source>矿物B</source>
        <translation>Mineral B</translation>
    </message>
    <message>
        <source>适用范围</source>
        <translation>Range of application</translation>
    </message>
    <message>
        <source>资料来源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>总记录：%1</source>
        <translation>Total: %1</translation>
    </message>
    <message>
        <source>是否永久删除？【Y/N】</source>
        <translation>Delete permanently? [Y/N]</translation>
    </message>
    <message>
        <source>导入完成：新增%1条，已存在%2条，出错%3条</source>
        <translation>Import done: %1 new, %2 already stored, %3 with errors</translation>
    </message>
    <message>
        <source>Excel 工作簿(*.xlsx)|*.xlsx</source>
        <translation>Excel workbook (*.xlsx)|*.xlsx</translation>
    </message>
</context>
<context>
    <name>CalibrationRange</name>
    <message>
        <source>超出适用范围（%1）</source>
        <translation>Outside the range of application (%1)</translation>
    </message>
    <message>
        <source>超出适用压力范围（%1 kbar）</source>
        <translation>Outside the pressure range of application (%1 kbar)</translation>
    </message>
    <message>
        <source>超出适用成分范围（%1 %2）</source>
        <translation>Outside the composition range of application (%1 %2)</translation>
    </message>
</context>
<context>
    <name>CoefficientCovariance</name>
    <message>
        <source>σ不能为负</source>
        <translation>σ cannot be negative</translation>
    </message>
    <message>
        <source>协方差与σ不相容</source>
        <translation>The covariances do not fit the σ</translation>
    </message>
    <message>
        <source>σ与协方差必须为数字</source>
        <translation>σ and covariances must be numbers</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <source>无法打开数据库“%1”：%2</source>
        <translation>Cannot open the database &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>数据库被其他程序锁定</source>
        <translation>The database is locked by another program</translation>
    </message>
    <message>
        <source>数据库为只读</source>
        <translation>The database is read-only</translation>
    </message>
    <message>
        <source>数据库文件已损坏</source>
        <translation>The database file is damaged</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>数据库缺少表或列：%1</source>
        <translation>The database lacks a table or column: %1</translation>
    </message>
    <message>
        <source>连接字符串没有指定数据源</source>
        <translation>The connection string names no data source</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>The file does not exist</translation>
    </message>
    <message>
        <source>不是有效的数据库文件</source>
        <translation>Not a valid database file</translation>
    </message>
    <message>
        <source>对象关闭时，不允许操作。</source>
        <translation>Operation is not allowed when the object is closed.</translation>
    </message>
    <message>
        <source>命令文本为空</source>
        <translation>The command text is empty</translation>
    </message>
    <message>
        <source>在 SQL 语句结尾之后找到字符。</source>
        <translation>Characters found after the end of the SQL statement.</translation>
    </message>
</context>
<context>
    <name>DelimitedFiles</name>
    <message>
        <source>导入数据未完成！</source>
        <translation>The data import did not finish!</translation>
    </message>
    <message>
        <source>导出数据失败!</source>
        <translation>Data export failed!</translation>
    </message>
</context>
<context>
    <name>FigureExport</name>
    <message>
        <source>图的尺寸</source>
        <translation>Figure size</translation>
    </message>
    <message>
        <source>宽度</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高度</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>分辨率(dpi)</source>
        <translation>Resolution (dpi)</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>尺寸超出范围</source>
        <translation>Size out of range</translation>
    </message>
    <message>
        <source>无法绘制图</source>
        <translation>Cannot draw the chart</translation>
    </message>
    <message>
        <source>导出图</source>
        <translation>Export chart</translation>
    </message>
    <message>
        <source>PDF 文件(*.pdf)|*.pdf|SVG 图像(*.svg)|*.svg|PNG 图像(*.png)|*.png</source>
        <translation>PDF file (*.pdf)|*.pdf|SVG image (*.svg)|*.svg|PNG image (*.png)|*.png</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>无法写入文件：%1
%2</source>
        <translation>Cannot write the file: %1
%2</translation>
    </message>
</context>
<context>
    <name>FileWrite</name>
    <message>
        <source>磁盘已满</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>超出磁盘配额</source>
        <translation>Disk quota exceeded</translation>
    </message>
    <message>
        <source>文件超出允许的大小</source>
        <translation>The file exceeds the size allowed</translation>
    </message>
    <message>
        <source>文件系统为只读</source>
        <translation>The file system is read-only</translation>
    </message>
    <message>
        <source>没有写入权限</source>
        <translation>No permission to write</translation>
    </message>
    <message>
        <source>同名文件已存在，无法建立文件夹</source>
        <translation>A file of that name exists, so the folder cannot be created</translation>
    </message>
    <message>
        <source>文件夹不存在</source>
        <translation>The folder does not exist</translation>
    </message>
    <message>
        <source>这是一个文件夹</source>
        <translation>This is a folder</translation>
    </message>
    <message>
        <source>未知原因</source>
        <translation>Unknown reason</translation>
    </message>
</context>
<context>
    <name>KeyedCollection</name>
    <message>
        <source>此键已与该集合的一个元素相关联</source>
        <translation>This key is already associated with an element of this collection</translation>
    </message>
    <message>
        <source>下标越界</source>
        <translation>Subscript out of range</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>未找到%1程序。</source>
        <translation>No %1 program was found.</translation>
    </message>
    <message>
        <source>请安装以下任一程序：%1</source>
        <translation>Please install one of these programs: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>无法启动%1程序：%2</source>
        <translation>Cannot start the %1 program: %2</translation>
    </message>
    <message>
        <source>计算器</source>
        <translation>calculator</translation>
    </message>
    <message>
        <source>文本编辑器</source>
        <translation>text editor</translation>
    </message>
    <message>
        <source>无法打开%1：没有程序能显示它。</source>
        <translation>Cannot open %1: no program can show it.</translation>
    </message>
</context>
<context>
    <name>LorvaneCalc</name>
    <message>
        <source>%1（%2列不在文件中）</source>
        <translation>%1 (column %2 is not in the file)</translation>
    </message>
</context>
<context>
    <name>Names</name>
    <message>
        <source>名称表第%1行：%2</source>
        <translation>Names table, line %1: %2</translation>
    </message>
    <message>
        <source>文件过大</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>缺少标题行</source>
        <translation>the header line is missing</translation>
    </message>
    <message>
        <source>应有5列</source>
        <translation>5 columns expected</translation>
    </message>
    <message>
        <source>未知种类 &apos;%1&apos;</source>
        <translation>unknown kind &apos;%1&apos;</translation>
    </message>
    <message>
        <source>缺少中文或英文名称</source>
        <translation>the Chinese or English name is missing</translation>
    </message>
    <message>
        <source>名称过长</source>
        <translation>name too long</translation>
    </message>
    <message>
        <source>&apos;%1&apos;已属于%2</source>
        <translation>&apos;%1&apos; already belongs to %2</translation>
    </message>
    <message>
        <source>无法读取%1</source>
        <translation>Cannot read %1</translation>
    </message>
    <message>
        <source>未知同位素类型 &apos;%1&apos;</source>
        <translation>Unknown isotope type &apos;%1&apos;</translation>
    </message>
    <message>
        <source>未知矿物 &apos;%1&apos;</source>
        <translation>Unknown mineral &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1，是否为 &apos;%2&apos;？</source>
        <translation>%1 - did you mean &apos;%2&apos;?</translation>
    </message>
    <message>
        <source>%1，是否为 &apos;%2&apos;（%3）？</source>
        <translation>%1 - did you mean &apos;%2&apos; (%3)?</translation>
    </message>
</context>
<context>
    <name>OlivineLiquid</name>
    <message>
        <source>Putirka (2016) 9a 0.29±0.051（全铁）</source>
        <translation>Putirka (2016) 9a 0.29±0.051 (total iron)</translation>
    </message>
</context>
<context>
    <name>OlivineTable</name>
    <message>
        <source>不是数字：%1</source>
        <translation>Not a number: %1</translation>
    </message>
    <message>
        <source>超出范围：%1</source>
        <translation>Out of range: %1</translation>
    </message>
</context>
<context>
    <name>ProgramFolders</name>
    <message>
        <source>无法建立文件夹%1：%2</source>
        <translation>Cannot create the folder %1: %2</translation>
    </message>
    <message>
        <source>无法读取%1：%2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>无法在%1中写入：%2</source>
        <translation>Cannot write in %1: %2</translation>
    </message>
    <message>
        <source>无法写入%1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>无法建立%1：%2</source>
        <translation>Cannot create %1: %2</translation>
    </message>
</context>
<context>
    <name>Recordset</name>
    <message>
        <source>在对应所需名称或序数的集合中，未找到项目。</source>
        <translation>Item cannot be found in the collection corresponding to the requested name or ordinal.</translation>
    </message>
</context>
<context>
    <name>SampleModel</name>
    <message>
        <source>样品</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>同位素</source>
        <translation>Isotope</translation>
    </message>
    <message>
        <source>元素</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>矿物A</source>
        <translation>Mineral A</translation>
    </message>
    <message>
        <source>矿物B</source>
        <translation>Mineral B</translation>
    </message>
    <message>
        <source>含量A</source>
        <translation>Conc. A</translation>
    </message>
    <message>
        <source>含量B</source>
        <translation>Conc. B</translation>
    </message>
    <message>
        <source>压力(kbar)</source>
        <translation>P (kbar)</translation>
    </message>
</context>
<context>
    <name>SampleTable</name>
    <message>
        <source>无法写入文件：%1
%2</source>
        <translation>Cannot write the file: %1
%2</translation>
    </message>
</context>
<context>
    <name>SaveOutcome</name>
    <message>
        <source> 记录已存在,添加失败!</source>
        <translation> The record exists already; not added!</translation>
    </message>
    <message>
        <source> 记录已存在,更新失败!</source>
        <translation> The record exists already; not updated!</translation>
    </message>
    <message>
        <source>未知原因,添加失败!</source>
        <translation>Unknown reason; not added!</translation>
    </message>
    <message>
        <source>未知原因,更新失败!</source>
        <translation>Unknown reason; not updated!</translation>
    </message>
    <message>
        <source>常数必须为数字</source>
        <translation>The constants must be numbers</translation>
    </message>
    <message>
        <source>数值超出单精度范围</source>
        <translation>Number outside the single-precision range</translation>
    </message>
</context>
<context>
    <name>StoreDetail</name>
    <message>
        <source>记录不存在</source>
        <translation>The record does not exist</translation>
    </message>
</context>
<context>
    <name>TraceTermFields</name>
    <message>
        <source>K单位</source>
        <translation>Unit of K</translation>
    </message>
    <message>
        <source>指数n必须大于0</source>
        <translation>The exponent n must be greater than 0</translation>
    </message>
    <message>
        <source>请输入成分变量X的名称</source>
        <translation>Enter the name of the composition variable X</translation>
    </message>
</context>
<context>
    <name>Workbook</name>
    <message>
        <source>数据导出过程中出错</source>
        <translation>An error occurred while exporting the data</translation>
    </message>
    <message>
        <source>XML格式错误</source>
        <translation>Malformed XML</translation>
    </message>
    <message>
        <source>XML嵌套过深</source>
        <translation>XML nested too deeply</translation>
    </message>
    <message>
        <source>无法读取工作表：%1</source>
        <translation>Cannot read the worksheet: %1</translation>
    </message>
    <message>
        <source>行号超出范围：%1</source>
        <translation>Row number out of range: %1</translation>
    </message>
    <message>
        <source>单元格引用无效：%1</source>
        <translation>Invalid cell reference: %1</translation>
    </message>
    <message>
        <source>列数超出范围</source>
        <translation>Column number out of range</translation>
    </message>
    <message>
        <source>公式无计算结果：%1</source>
        <translation>Formula without a computed value: %1</translation>
    </message>
    <message>
        <source>共享字符串无效：%1</source>
        <translation>Invalid shared string: %1</translation>
    </message>
    <message>
        <source>单元格%1在表头以外：%2</source>
        <translation>Cell %1 lies beyond the header: %2</translation>
    </message>
    <message>
        <source>单元格超过%1个</source>
        <translation>More than %1 cells</translation>
    </message>
    <message>
        <source>不是有效的 .xlsx 文件</source>
        <translation>Not a valid .xlsx file</translation>
    </message>
    <message>
        <source>没有工作表%1</source>
        <translation>No worksheet %1</translation>
    </message>
</context>
<context>
    <name>ZipMember</name>
    <message>
        <source>缺少内容</source>
        <translation>Content missing</translation>
    </message>
    <message>
        <source>解压后超过%1 MB</source>
        <translation>More than %1 MB when decompressed</translation>
    </message>
    <message>
        <source>压缩数据已损坏</source>
        <translation>The compressed data are damaged</translation>
    </message>
</context>
<context>
    <name>clsIsoItem</name>
    <message>
        <source>记录不存在,删除失败!</source>
        <translation>The record does not exist; not deleted!</translation>
    </message>
    <message>
        <source>删除记录成功!</source>
        <translation>Record deleted!</translation>
    </message>
    <message>
        <source>未知错误,删除失败!</source>
        <translation>Unknown error; not deleted!</translation>
    </message>
    <message>
        <source>未知错误,更新记录失败!</source>
        <translation>Unknown error; the record was not updated!</translation>
    </message>
    <message>
        <source>存在相同记录,更新失败!</source>
        <translation>An identical record exists; not updated!</translation>
    </message>
    <message>
        <source>更新记录成功!</source>
        <translation>Record updated!</translation>
    </message>
    <message>
        <source>存在相同记录,添加记录失败!</source>
        <translation>An identical record exists; the record was not added!</translation>
    </message>
    <message>
        <source>添加记录成功!</source>
        <translation>Record added!</translation>
    </message>
    <message>
        <source>未知错误,添加记录失败!</source>
        <translation>Unknown error; the record was not added!</translation>
    </message>
    <message>
        <source>错误号：%1</source>
        <translation>Error number: %1</translation>
    </message>
</context>
<context>
    <name>clsTraceelement</name>
    <message>
        <source>记录不存在,删除记录失败!</source>
        <translation>The record does not exist; not deleted!</translation>
    </message>
    <message>
        <source>删除记录成功!</source>
        <translation>Record deleted!</translation>
    </message>
    <message>
        <source>未知原因,删除记录失败!</source>
        <translation>Unknown reason; the record was not deleted!</translation>
    </message>
    <message>
        <source>未知错误,更新记录失败!</source>
        <translation>Unknown error; the record was not updated!</translation>
    </message>
    <message>
        <source>存在相同记录,更新失败!</source>
        <translation>An identical record exists; not updated!</translation>
    </message>
    <message>
        <source>更新记录成功!</source>
        <translation>Record updated!</translation>
    </message>
    <message>
        <source>存在相同记录,添加记录失败!</source>
        <translation>An identical record exists; the record was not added!</translation>
    </message>
    <message>
        <source>添加记录成功!</source>
        <translation>Record added!</translation>
    </message>
    <message>
        <source>未知错误,添加记录失败!</source>
        <translation>Unknown error; the record was not added!</translation>
    </message>
    <message>
        <source>错误号：%1</source>
        <translation>Error number: %1</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>关于 Lorvane</source>
        <translation>About Lorvane</translation>
    </message>
    <message>
        <source>程序版本：V1.0</source>
        <translation>Version: V1.0</translation>
    </message>
    <message>
        <source>维护：Lorvane 项目开发组</source>
        <translation>Maintained by the Lorvane team</translation>
    </message>
    <message>
        <source>反馈：请在项目的问题列表中提出</source>
        <translation>Feedback: the project&apos;s issue list</translation>
    </message>
    <message>
        <source>感谢您的使用！</source>
        <translation>Thank you for using Lorvane!</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>frmBatch</name>
    <message>
        <source>同位素温度计_批量计算</source>
        <translation>Isotope thermometer – Batch</translation>
    </message>
    <message>
        <source>微量元素温度计_批量计算</source>
        <translation>Trace-element thermometer – Batch</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>计算</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>导出图</source>
        <translation>Export chart</translation>
    </message>
    <message>
        <source>导出文献</source>
        <translation>Export references</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>抽样次数</source>
        <translation>Draws</translation>
    </message>
    <message>
        <source>蒙特卡洛抽样次数，0为不计算95%区间</source>
        <translation>Monte Carlo draws; 0 for no 95% interval</translation>
    </message>
    <message>
        <source>种子</source>
        <translation>Seed</translation>
    </message>
    <message>
        <source>同一种子得到同一结果</source>
        <translation>The same seed gives the same results</translation>
    </message>
    <message>
        <source>精确1000lnα</source>
        <translation>Exact 1000lnα</translation>
    </message>
    <message>
        <source>以1000·ln((1000+δA)/(1000+δB))代替δA−δB</source>
        <translation>Use 1000·ln((1000+δA)/(1000+δB)) instead of δA−δB</translation>
    </message>
    <message>
        <source>样品</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>温度汇总</source>
        <translation>Temperature summary</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>计算已取消</source>
        <translation>Calculation cancelled</translation>
    </message>
    <message>
        <source>批量数据尚未导出，是否放弃？</source>
        <translation>The batch data have not been exported. Discard them?</translation>
    </message>
    <message>
        <source>正在粘贴…</source>
        <translation>Pasting...</translation>
    </message>
    <message>
        <source>未知错误</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>抽样次数必须为0到1000000之间的整数</source>
        <translation>The number of draws must be a whole number from 0 to 1000000</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>种子必须为非负整数</source>
        <translation>The seed must be a non-negative whole number</translation>
    </message>
    <message>
        <source>没有样品数据</source>
        <translation>No sample data</translation>
    </message>
    <message>
        <source>正在计算…</source>
        <translation>Calculating...</translation>
    </message>
    <message>
        <source>计算出错，结果未改变：%1</source>
        <translation>Calculation failed, results unchanged: %1</translation>
    </message>
    <message>
        <source>计算已取消，结果未改变</source>
        <translation>Calculation cancelled, results unchanged</translation>
    </message>
    <message>
        <source>%1个样品，%2个结果</source>
        <translation>Samples: %1, results: %2</translation>
    </message>
    <message numerus="yes">
        <source>；%n个样品数据无效</source>
        <translation>
            <numerusform>; %n sample with invalid data</numerusform>
            <numerusform>; %n samples with invalid data</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>；%n个样品无标定</source>
        <translation>
            <numerusform>; %n sample without calibration</numerusform>
            <numerusform>; %n samples without calibration</numerusform>
        </translation>
    </message>
    <message>
        <source>样品表(*.csv;*.txt;*.tsv;*.xlsx)|*.csv;*.txt;*.tsv;*.xlsx</source>
        <translation>Sample tables (*.csv;*.txt;*.tsv;*.xlsx)|*.csv;*.txt;*.tsv;*.xlsx</translation>
    </message>
    <message>
        <source>正在导入…</source>
        <translation>Importing...</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>导入已取消</source>
        <translation>Import cancelled</translation>
    </message>
    <message>
        <source>，并恢复了计算参数</source>
        <translation>, run parameters restored</translation>
    </message>
    <message numerus="yes">
        <source>导入%n个样品</source>
        <translation>
            <numerusform>Imported %n sample</numerusform>
            <numerusform>Imported %n samples</numerusform>
        </translation>
    </message>
    <message>
        <source>没有可导出的结果</source>
        <translation>No results to export</translation>
    </message>
    <message>
        <source>Excel 工作簿(*.xlsx)|*.xlsx|CSV 文件(*.csv)|*.csv</source>
        <translation>Excel workbook (*.xlsx)|*.xlsx|CSV file (*.csv)|*.csv</translation>
    </message>
    <message>
        <source>正在导出…</source>
        <translation>Exporting...</translation>
    </message>
    <message>
        <source>无法写入文件：%1
%2</source>
        <translation>Cannot write the file: %1
%2</translation>
    </message>
    <message>
        <source>已导出到%1</source>
        <translation>Exported to %1</translation>
    </message>
    <message>
        <source>没有给出温度的标定，无文献可导出</source>
        <translation>No calibration gave a temperature: no references to export</translation>
    </message>
    <message numerus="yes">
        <source>%n条文献已导出到%1</source>
        <translation>
            <numerusform>%n reference exported to %1</numerusform>
            <numerusform>%n references exported to %1</numerusform>
        </translation>
    </message>
    <message>
        <source>请先计算</source>
        <translation>Calculate first</translation>
    </message>
    <message>
        <source>请先计算并选择样品</source>
        <translation>Calculate first and choose a sample</translation>
    </message>
    <message>
        <source>图已导出到%1</source>
        <translation>Chart exported to %1</translation>
    </message>
</context>
<context>
    <name>frmCalculateIso</name>
    <message>
        <source>同位素温度计_温度计算</source>
        <translation>Isotope thermometer – Temperature</translation>
    </message>
    <message>
        <source>筛选</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>数据库管理</source>
        <translation>Database</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>同位素</source>
        <translation>Isotope</translation>
    </message>
    <message>
        <source>适用范围</source>
        <translation>Range of application</translation>
    </message>
    <message>
        <source>资料来源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>温度(℃)</source>
        <translation>Temperature (°C)</translation>
    </message>
    <message>
        <source>计算类型</source>
        <translation>Solve for</translation>
    </message>
    <message>
        <source>平衡温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>水的氧同位素</source>
        <translation>Water δ18O</translation>
    </message>
    <message>
        <source>矿物</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temp.</translation>
    </message>
    <message>
        <source>计算</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>必须为数字</source>
        <translation>Must be a number</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>计算错误</source>
        <translation>Calculation error</translation>
    </message>
    <message>
        <source>请选择参数!</source>
        <translation>Please choose a calibration!</translation>
    </message>
    <message>
        <source>计算结果无效：温度低于绝对零度</source>
        <translation>Invalid result: temperature below absolute zero</translation>
    </message>
</context>
<context>
    <name>frmCalculateTrace</name>
    <message>
        <source>微量元素温度计_温度计算</source>
        <translation>Trace-element thermometer – Temperature</translation>
    </message>
    <message>
        <source>筛选</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>数据库</source>
        <translation>Database</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>元素</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>函数</source>
        <translation>Log base</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>温度(℃)</source>
        <translation>Temperature (°C)</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temp.</translation>
    </message>
    <message>
        <source>计算</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>压力(kbar)</source>
        <translation>P (kbar)</translation>
    </message>
    <message>
        <source>状态:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>当前参数：A=%1，B=%2</source>
        <translation>Current calibration: A=%1, B=%2</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>必须为数字</source>
        <translation>Must be a number</translation>
    </message>
    <message>
        <source>请输入压力</source>
        <translation>Please enter the pressure</translation>
    </message>
    <message>
        <source>压力不能小于0</source>
        <translation>Pressure cannot be below 0</translation>
    </message>
    <message>
        <source>请输入%1</source>
        <translation>Please enter %1</translation>
    </message>
    <message>
        <source>活度必须大于0且不大于1</source>
        <translation>Activity must be greater than 0 and at most 1</translation>
    </message>
    <message>
        <source>请选择参数！</source>
        <translation>Please choose a calibration!</translation>
    </message>
    <message>
        <source>函数类型无效：&quot;%1&quot;</source>
        <translation>Invalid log base: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>计算结果无效：温度低于绝对零度</source>
        <translation>Invalid result: temperature below absolute zero</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>frmGLS</name>
    <message>
        <source>文本文件(制表符分割)|*.txt|文本文件(*.csv)|*.csv|文本文件(空格分隔)|*.txt</source>
        <translation>Text file (tab-separated)|*.txt|Text file (*.csv)|*.csv|Text file (space-separated)|*.txt</translation>
    </message>
    <message>
        <source>橄榄石温度计</source>
        <translation>Olivine thermometer</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>导入...</source>
        <translation>Import...</translation>
    </message>
    <message>
        <source>导出...</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>超镁铁质</source>
        <translation>Ultramafic</translation>
    </message>
    <message>
        <source>镁铁质</source>
        <translation>Mafic</translation>
    </message>
    <message>
        <source>计算</source>
        <translation>Calc.</translation>
    </message>
    <message>
        <source>温度(K)</source>
        <translation>T (K)</translation>
    </message>
    <message>
        <source>必须是数字！</source>
        <translation>Must be a number!</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
</context>
<context>
    <name>frmIsoAbout</name>
    <message>
        <source>关于 同位素Lorvane</source>
        <translation>About the isotope thermometer</translation>
    </message>
</context>
<context>
    <name>frmIsoAddEdit</name>
    <message>
        <source>同位素温度计</source>
        <translation>Isotope thermometer</translation>
    </message>
    <message>
        <source>同位素</source>
        <translation>Isotope</translation>
    </message>
    <message>
        <source>矿物A</source>
        <translation>Min. A</translation>
    </message>
    <message>
        <source>矿物B</source>
        <translation>Min. B</translation>
    </message>
    <message>
        <source>常数A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>常数B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>常数C</source>
        <translation>C</translation>
    </message>
    <message>
        <source>适用范围</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>资料来源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>数据集</source>
        <translation>Dataset</translation>
    </message>
</context>
<context>
    <name>frmIsoMgr</name>
    <message>
        <source>同位素温度计_数据库管理</source>
        <translation>Isotope thermometer – Calibration database</translation>
    </message>
    <message>
        <source>数据集</source>
        <translation>Dataset</translation>
    </message>
    <message>
        <source>记录不存在,删除失败!!</source>
        <translation>The record does not exist; not deleted!!</translation>
    </message>
    <message>
        <source>未知原因,删除记录失败!</source>
        <translation>Unknown reason; the record was not deleted!</translation>
    </message>
    <message>
        <source>【列表维护】</source>
        <translation>[Edit list]</translation>
    </message>
</context>
<context>
    <name>frmIsotopeList</name>
    <message>
        <source>同位素类型</source>
        <translation>Isotope types</translation>
    </message>
    <message>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>请输入同位素类型</source>
        <translation>Enter the isotope type</translation>
    </message>
    <message>
        <source>存在相同记录,请勿重复添加！</source>
        <translation>An identical record exists; do not add it again!</translation>
    </message>
    <message>
        <source>还存在【%1】温度计，不能删除此项目!</source>
        <translation>There are still [%1] thermometers; this entry cannot be deleted!</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>同位素温度计(&amp;I)</source>
        <translation>&amp;Isotope thermometer</translation>
    </message>
    <message>
        <source>温度计算(&amp;C)</source>
        <translation>&amp;Calculate temperature</translation>
    </message>
    <message>
        <source>数据库管理(&amp;M)</source>
        <translation>Database &amp;manager</translation>
    </message>
    <message>
        <source>批量计算(&amp;B)</source>
        <translation>&amp;Batch calculation</translation>
    </message>
    <message>
        <source>微量元素温度计(&amp;T)</source>
        <translation>&amp;Trace-element thermometer</translation>
    </message>
    <message>
        <source>其他(&amp;O)</source>
        <translation>&amp;Other</translation>
    </message>
    <message>
        <source>橄榄石温度计</source>
        <translation>Olivine thermometer</translation>
    </message>
    <message>
        <source>橄榄石-熔体温度计（氧化物）</source>
        <translation>Olivine-liquid thermometer (oxides)</translation>
    </message>
    <message>
        <source>视图(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>背景...</source>
        <translation>Background...</translation>
    </message>
    <message>
        <source>工具栏(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>状态栏(&amp;B)</source>
        <translation>Status &amp;bar</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>目录(&amp;C)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>搜索帮助目录(&amp;S)...</source>
        <translation>&amp;Search help contents...</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>退出(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>计算器</source>
        <translation>Calculator</translation>
    </message>
    <message>
        <source>记事本</source>
        <translation>Notepad</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>确认要退出系统吗?</source>
        <translation>Are you sure you want to exit?</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>无法显示帮助目录，该工程没有相关联的帮助。</source>
        <translation>Cannot show the help contents: this project has no help associated with it.</translation>
    </message>
    <message>
        <source>选择背景图片</source>
        <translation>Choose a background picture</translation>
    </message>
    <message>
        <source>位图(*.bmp)|*.bmp|GIF图像(*.gif)|*.gif|JPEG图像(*.jpg)|*.jpg</source>
        <translation>Bitmap (*.bmp)|*.bmp|GIF image (*.gif)|*.gif|JPEG image (*.jpg)|*.jpg</translation>
    </message>
</context>
<context>
    <name>frmOlivineAbout</name>
    <message>
        <source>关于 橄榄石温度计</source>
        <translation>About the olivine thermometer</translation>
    </message>
    <message>
        <source>XFo：橄榄石晶体中镁橄榄石的克分子数</source>
        <translation>XFo: mole fraction of forsterite in the olivine crystal</translation>
    </message>
    <message>
        <source>XFa：橄榄石晶体中铁橄榄石的克分子数</source>
        <translation>XFa: mole fraction of fayalite in the olivine crystal</translation>
    </message>
    <message>
        <source>XMg：元素Mg在熔浆中原子分数</source>
        <translation>XMg: atomic fraction of Mg in the melt</translation>
    </message>
    <message>
        <source>XFe：元素Fe在熔浆中原子分数</source>
        <translation>XFe: atomic fraction of Fe in the melt</translation>
    </message>
    <message>
        <source>具体请参考：</source>
        <translation>For details, see:</translation>
    </message>
    <message>
        <source>超镁铁质岩：T = 100000 × (2.262 − ln K) / 99.632
镁铁质岩：T = 10000 × (11.253 − ln K) / 66.388
其中 K = (XFo / XFa) / (XMg / XFe)，T 为开尔文温度</source>
        <translation>Ultramafic rocks: T = 100000 × (2.262 − ln K) / 99.632
Mafic rocks: T = 10000 × (11.253 − ln K) / 66.388
where K = (XFo / XFa) / (XMg / XFe) and T is in kelvin</translation>
    </message>
</context>
<context>
    <name>frmOlivineLiquid</name>
    <message>
        <source>橄榄石-熔体温度计_氧化物</source>
        <translation>Olivine-liquid thermometer – Oxides</translation>
    </message>
    <message>
        <source>样品</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>压力(kbar)</source>
        <translation>P (kbar)</translation>
    </message>
    <message>
        <source>橄榄石%1</source>
        <translation>Ol %1</translation>
    </message>
    <message>
        <source>熔体%1</source>
        <translation>Liq %1</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>计算</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>导出图</source>
        <translation>Export chart</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>平衡模型</source>
        <translation>Equilibrium model</translation>
    </message>
    <message>
        <source>Fe-Mg交换系数K_D的平衡范围</source>
        <translation>Equilibrium range of the Fe-Mg exchange coefficient K_D</translation>
    </message>
    <message>
        <source>熔体Fe³⁺/FeT，空白按0计算</source>
        <translation>Liquid Fe³⁺/FeT; a blank is taken as 0</translation>
    </message>
    <message>
        <source>NiO只记录，不参与计算</source>
        <translation>NiO is recorded only, not used in the calculation</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Beattie 1993(℃)</source>
        <translation>Beattie 1993 (°C)</translation>
    </message>
    <message>
        <source>Putirka 式19(℃)</source>
        <translation>Putirka eq. 19 (°C)</translation>
    </message>
    <message>
        <source>Herzberg 2002(℃)</source>
        <translation>Herzberg 2002 (°C)</translation>
    </message>
    <message>
        <source>Putirka 式21(℃)</source>
        <translation>Putirka eq. 21 (°C)</translation>
    </message>
    <message>
        <source>Putirka 式22(℃)</source>
        <translation>Putirka eq. 22 (°C)</translation>
    </message>
    <message>
        <source>超镁铁质(℃)</source>
        <translation>Ultramafic (°C)</translation>
    </message>
    <message>
        <source>镁铁质(℃)</source>
        <translation>Mafic (°C)</translation>
    </message>
    <message>
        <source>平衡K_D</source>
        <translation>Equilibrium K_D</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Equilibrium</translation>
    </message>
    <message>
        <source>平衡Fo</source>
        <translation>Equilibrium Fo</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>批量数据尚未导出，是否放弃？</source>
        <translation>The batch data have not been exported. Discard them?</translation>
    </message>
    <message>
        <source>没有样品数据</source>
        <translation>No sample data</translation>
    </message>
    <message numerus="yes">
        <source>%n对样品</source>
        <translation>
            <numerusform>%n pair</numerusform>
            <numerusform>%n pairs</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>；%n对不平衡</source>
        <translation>
            <numerusform>; %n pair in disequilibrium</numerusform>
            <numerusform>; %n pairs in disequilibrium</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>；%n对数据无效</source>
        <translation>
            <numerusform>; %n pair with invalid data</numerusform>
            <numerusform>; %n pairs with invalid data</numerusform>
        </translation>
    </message>
    <message>
        <source>不平衡</source>
        <translation>Disequilibrium</translation>
    </message>
    <message>
        <source>数据无效：%1</source>
        <translation>Invalid data: %1</translation>
    </message>
    <message>
        <source>Fe³⁺/FeT未给出，按0计算</source>
        <translation>Fe³⁺/FeT not given, taken as 0</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>Rhodes图：熔体Mg#与橄榄石Fo</source>
        <translation>Rhodes diagram: liquid Mg# vs olivine Fo</translation>
    </message>
    <message>
        <source>熔体Mg#（摩尔）</source>
        <translation>Liquid Mg# (molar)</translation>
    </message>
    <message>
        <source>橄榄石Fo</source>
        <translation>Olivine Fo</translation>
    </message>
    <message>
        <source>样品表(*.csv;*.txt;*.tsv;*.xlsx)|*.csv;*.txt;*.tsv;*.xlsx</source>
        <translation>Sample tables (*.csv;*.txt;*.tsv;*.xlsx)|*.csv;*.txt;*.tsv;*.xlsx</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message numerus="yes">
        <source>导入%n对样品</source>
        <translation>
            <numerusform>Imported %n pair</numerusform>
            <numerusform>Imported %n pairs</numerusform>
        </translation>
    </message>
    <message>
        <source>没有可导出的结果</source>
        <translation>No results to export</translation>
    </message>
    <message>
        <source>Excel 工作簿(*.xlsx)|*.xlsx|CSV 文件(*.csv)|*.csv</source>
        <translation>Excel workbook (*.xlsx)|*.xlsx|CSV file (*.csv)|*.csv</translation>
    </message>
    <message>
        <source>已导出到%1</source>
        <translation>Exported to %1</translation>
    </message>
    <message>
        <source>请先计算</source>
        <translation>Calculate first</translation>
    </message>
    <message>
        <source>图已导出到%1</source>
        <translation>Chart exported to %1</translation>
    </message>
</context>
<context>
    <name>frmTraceAbout</name>
    <message>
        <source>关于 微量元素Lorvane</source>
        <translation>About the trace-element thermometer</translation>
    </message>
</context>
<context>
    <name>frmTraceAddEdit</name>
    <message>
        <source>压力项C</source>
        <translation>Pressure C</translation>
    </message>
    <message>
        <source>指数n</source>
        <translation>Power n</translation>
    </message>
    <message>
        <source>成分项E</source>
        <translation>Comp. E</translation>
    </message>
    <message>
        <source>成分项F</source>
        <translation>Comp. F</translation>
    </message>
    <message>
        <source>成分变量X</source>
        <translation>Variable X</translation>
    </message>
    <message>
        <source>K的含义</source>
        <translation>What K is</translation>
    </message>
    <message>
        <source>微量元素温度计</source>
        <translation>Trace-element thermometer</translation>
    </message>
    <message>
        <source>元素</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>矿物A</source>
        <translation>Min. A</translation>
    </message>
    <message>
        <source>矿物B</source>
        <translation>Min. B</translation>
    </message>
    <message>
        <source>常数A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>常数B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>函数</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>T：开尔文；P：千巴；空白项取默认值（n = 1，其余为 0）</source>
        <translation>T in K; P in kbar; empty terms take their defaults (n = 1, the others 0)</translation>
    </message>
</context>
<context>
    <name>frmTraceMgr</name>
    <message>
        <source>微量元素温度计_数据库管理</source>
        <translation>Trace-element thermometer – Calibration database</translation>
    </message>
    <message>
        <source>函数</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>记录不存在!</source>
        <translation>The record does not exist!</translation>
    </message>
    <message>
        <source>删除记录失败!</source>
        <translation>Delete failed!</translation>
    </message>
    <message>
        <source>元素</source>
        <translation>Elements</translation>
    </message>
</context>
<context>
    <name>isotype</name>
    <message>
        <source>连接属性无效</source>
        <translation>Invalid connection property</translation>
    </message>
    <message>
        <source>连接未打开</source>
        <translation>The connection is not open</translation>
    </message>
    <message>
        <source>类型名称为空</source>
        <translation>The type name is empty</translation>
    </message>
    <message>
        <source>%1 已存在，添加失败！</source>
        <translation>%1 exists already; not added!</translation>
    </message>
    <message>
        <source>添加 %1 成功！</source>
        <translation>%1 added!</translation>
    </message>
    <message>
        <source>未知原因,添加记录失败!</source>
        <translation>Unknown reason; the record was not added!</translation>
    </message>
    <message>
        <source>错误号：%1</source>
        <translation>Error number: %1</translation>
    </message>
    <message>
        <source>删除成功！</source>
        <translation>Deleted!</translation>
    </message>
    <message>
        <source>%1不存在，删除失败！</source>
        <translation>%1 does not exist; not deleted!</translation>
    </message>
    <message>
        <source>未知错误,删除失败!</source>
        <translation>Unknown error; not deleted!</translation>
    </message>
    <message>
        <source>%1未找到!</source>
        <translation>%1 not found!</translation>
    </message>
</context>
<context>
    <name>subMain</name>
    <message>
        <source>程序正在运行,请勿重复打开!</source>
        <translation>The program is already running; do not open it twice!</translation>
    </message>
    <message>
        <source>请将Access文件放至%1</source>
        <translation>Put the database file at %1</translation>
    </message>
    <message>
        <source>请将Access文件放至本程序目录内</source>
        <translation>Put the database file in this program&apos;s folder</translation>
    </message>
    <message>
        <source>数据库文件未找到</source>
        <translation>Database file not found</translation>
    </message>
    <message>
        <source>重新启动程序</source>
        <translation>Restart the program</translation>
    </message>
    <message>
        <source>数据库文件无法升级：%1</source>
        <translation>The database file cannot be upgraded: %1</translation>
    </message>
    <message>
        <source>文件未作改动。微量元素温度计的压力、成分和活度项在升级前不可用，标定也不能保存。</source>
        <translation>The file was not changed. The pressure, composition and activity terms of the trace-element thermometers are not available until it is upgraded, and calibrations cannot be saved.</translation>
    </message>
    <message>
        <source>无法建立数据库文件</source>
        <translation>Cannot create the database file</translation>
    </message>
</context>
</TS>
