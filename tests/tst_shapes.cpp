#include "test_item.h"

#include <QtTest/QtTest>

namespace {

// The three families; a script names their methods ADD and STYLE.
struct ShapeFamily
{
    const char *kind, *add, *style;
    void (TestItem::*paint)(QPainter *);
};
const ShapeFamily shapeFamilies[] = {
        {"Rect", "addRectF", "setRectStyle", &TestItem::paintRect},
        {"Ellipse", "addEllipseF", "setEllipseStyle", &TestItem::paintEllipse},
        {"Line", "addLineF", "setLineStyle", &TestItem::paintLine}};

QStringList painting(const ShapeFamily &family, QString script)
{
    script.replace("ADD", family.add).replace("STYLE", family.style);
    return painting(script, family.paint);
}

} // namespace

// The shape painters: integer geometry, the family style overridden record by record, the line
// path, and the painter state they leave.
class tst_Shapes : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data()
    {
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("rect"); // as rectangles and ellipses draw it; empty: not drawn
        QTest::addColumn<QString>("line");

        const char *const rows[][4] = {
                {"truncation toward zero", "-2.7 20.5 30.99 40.01", "(-2,20) (30,40)",
                 "(-2,20) (30,40)"},
                {"NaN", "nan 0 5 5", "", ""},
                // Two points are a line, not a size: only rectangles and ellipses overflow.
                {"x + w past INT_MAX", "2147483000 0 648 5", "", "(2147483000,0) (648,5)"}};
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
    }

    // A record that cannot be drawn is skipped, the next one is drawn as usual; the line path
    // keeps the doubles of every record.
    void geometry()
    {
        QFETCH(QString, values);
        QFETCH(QString, rect);
        QFETCH(QString, line);

        for (const ShapeFamily &f : shapeFamilies) {
            const bool isLine = f.paint == &TestItem::paintLine;
            QStringList drawn =
                    painting(f, "STYLE {brushColor:7}; ADD " + values + "; ADD 1 2 3 4");
            drawn.removeLast(); // the state left
            if (isLine) { // "Path", the first start point, then two end points
                const QStringList path = drawn.takeLast().section(", ", 0, 0).split(' ');
                QCOMPARE(path.size(), 4);
                QCOMPARE(path.last(), "(3,4)");
            }
            QStringList expected;
            for (const QString &geometry : {isLine ? line : rect, QString("(1,2) (3,4)")})
                if (!geometry.isEmpty())
                    expected << f.kind + (' ' + geometry);
            QCOMPARE(drawn.replaceInStrings(QRegularExpression(", .*"), QString()), expected);
        }
    }

    void styleOverrides_data()
    {
        QTest::addColumn<QString>("styles"); // the family's, then one record's each
        QTest::addColumn<QString>("tools"); // of each record: pen and, but for lines, fill

        const QString black = "#000000 1 SolidLine";
        const std::pair<const char *, QString> rows[] = {
                {"{}; {}", black + " NoBrush"},
                {"{style:2, width:3}; {color:7}; {}",
                 "#ff0000 3 DashLine NoBrush; #000000 3 DashLine NoBrush"},
                {"{color:7}; {color:nocolour}; {color:2.0}; {}",
                 black + " NoBrush; " + black + " NoBrush; #ff0000 1 SolidLine NoBrush"},
                {"{brushColor:9}; {brushColor:''}; {}",
                 black + " NoBrush; " + black + " #0000ff SolidPattern"},
                {"{}; {brushColor:#00ff00}; {}",
                 black + " #00ff00 SolidPattern; " + black + " NoBrush"},
                {"{}; {style:0}; {}", "#000000 1 NoPen NoBrush; " + black + " NoBrush"},
                {"{color:9, style:3}; {width:4}", "#0000ff 4 DotLine NoBrush"},
                {"{color:9}; {colour:7, textColor:7}", "#0000ff 1 SolidLine NoBrush"}};
        for (const auto &[styles, tools] : rows)
            QTest::newRow(styles) << QString(styles) << tools;
    }

    // An own colour that is not valid is black, never the family colour; an own fill that is not
    // valid leaves the record unfilled.
    void styleOverrides()
    {
        QFETCH(QString, styles);
        QFETCH(QString, tools);

        for (const ShapeFamily &f : shapeFamilies) {
            QStringList records = styles.split("; ");
            QString script = "STYLE " + records.takeFirst();
            for (const QString &own : records)
                script += "; ADD 0 0 10 10 " + own;
            QStringList drawn;
            for (const QString &call :
                 painting(f, script).filter(QRegularExpression("^" + QString(f.kind))))
                drawn << call.section(", ", 1).remove(',');
            QString expected = tools;
            if (f.paint == &TestItem::paintLine) // lines are never filled one by one
                expected.replace(QRegularExpression("(NoBrush|#\\w+ SolidPattern)"), "found brush");
            QCOMPARE(drawn.join("; "), expected);
        }
    }

    void painterState_data()
    {
        QTest::addColumn<int>("family"); // of shapeFamilies
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("painted");

        const QString left = "left #000000 1 SolidLine, ", fill = "#ff0000 SolidPattern",
                      pen = "#0000ff 2 SolidLine, ";
        QTest::newRow("rect, empty list")
                << 0 << "" << QStringList {left + "NoBrush, DejaVu Sans 7px"};
        QTest::newRow("ellipse, empty list, family fill")
                << 1 << "STYLE {brushColor:7}" << QStringList {left + fill + ", DejaVu Sans 7px"};
        QTest::newRow("rect after an own pen and fill")
                << 0 << "STYLE {brushColor:7}; ADD 0 0 10 10 {color:8, brushColor:9}"
                << QStringList {"Rect (0,0) (10,10), #00ff00 1 SolidLine, #0000ff SolidPattern",
                                left + fill + ", DejaVu Sans 7px"};
        QTest::newRow("line, empty list")
                << 2 << "" << QStringList {left + "found brush, DejaVu Sans 7px"};
        QTest::newRow("line, empty list, family fill: the empty path")
                << 2 << "STYLE {brushColor:7}"
                << QStringList {"Path, #000000 1 SolidLine, " + fill,
                                left + fill + ", DejaVu Sans 7px"};
        QTest::newRow("line after an own pen, invalid family fill")
                << 2 << "STYLE {brushColor:''}; ADD 0 0 10 10 {color:8}"
                << QStringList {"Line (0,0) (10,10), #00ff00 1 SolidLine, found brush",
                                left + "found brush, DejaVu Sans 7px"};
        // The path runs from the first start point (not the origin) through every end point; drawn
        // after the lines, it is filled with the family brush.
        const QString lines =
                "STYLE {width:2, color:9%1}; ADD 5 5 10 0; ADD 50 50 10 10; ADD 10 10 0 10";
        const QStringList drawn = {"Line (5,5) (10,0), " + pen + "found brush",
                                   "Line (50,50) (10,10), " + pen + "found brush",
                                   "Line (10,10) (0,10), " + pen + "found brush"};
        QTest::newRow("line path") << 2 << lines.arg(", brushColor:7")
                                   << drawn
                        + QStringList {"Path (5,5) (10,0) (10,10) (0,10), " + pen + fill,
                                       "left " + pen + fill + ", DejaVu Sans 7px"};
        for (const char *brushColor : {"", ", brushColor:nocolour"})
            QTest::addRow("no line path: '%s'", brushColor)
                    << 2 << lines.arg(brushColor)
                    << drawn + QStringList {"left " + pen + "found brush, DejaVu Sans 7px"};
    }

    void painterState()
    {
        QFETCH(int, family);
        QFETCH(QString, script);
        QFETCH(QStringList, painted);
        QCOMPARE(painting(shapeFamilies[family], script), painted);
    }
};

QTEST_MAIN(tst_Shapes)
#include "tst_shapes.moc"
