#include "test_item.h"

#include <bll_painted_item_boxes.h>
#include <bll_painted_item_model.h>
#include <bll_painted_item_picking.h>

#include <QtCore/QAbstractListModel>
#include <QtCore/QLoggingCategory>
#include <QtCore/QStringListModel>
#include <QtQuick/QQuickWindow>
#include <QtTest/QtTest>

// Boxes read back, removed and set in bulk through BllBoxes, and fed from a model through
// BllBoxModel: every frame against a fresh item that was given only what should be left.

namespace {

// One frame as Qt Quick paints one: the item's fill, then paint(), on the image it keeps.
QImage frame(Bll_Painted_Item &item, QImage &image)
{
    if (image.isNull())
        image = QImage(240, 160, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(image.rect(), item.fillColor());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    (item.*(&TestItem::paint))(&painter);
    painter.end();
    return image.copy();
}

QImage freshFrame(const QString &script)
{
    Bll_Painted_Item fresh;
    run(&fresh, script);
    QImage image;
    return frame(fresh, image);
}

const QStringList familyNames = {"parameter", "dvi", "simple"};

// A list model of rows given as maps, with the roles the first row names, sorted.
class RowModel : public QAbstractListModel
{
public:
    explicit RowModel(const QVector<QVariantMap> &rows) : rows(rows)
    {
        if (!rows.isEmpty())
            names = rows.first().keys();
    }
    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : rows.size();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        return rows.value(index.row()).value(names.value(role - Qt::UserRole));
    }
    QHash<int, QByteArray> roleNames() const override
    {
        QHash<int, QByteArray> roles;
        for (int i = 0; i < names.size(); ++i)
            roles.insert(Qt::UserRole + i, names[i].toUtf8());
        return roles;
    }

    // One change, written as "insert 2 {...}", "remove 1 2" (first, count), "move 0 1 3"
    // (first, count, destination as beginMoveRows takes it), "set 1 key value", "reset [..]".
    void apply(const QString &change)
    {
        const QStringList words = change.split(' ');
        const int at = words.value(1).toInt();
        if (words[0] == "insert") {
            beginInsertRows(QModelIndex(), at, at);
            rows.insert(at, scriptValue(words.mid(2).join(' ')).toMap());
            endInsertRows();
        } else if (words[0] == "remove") {
            const int count = words[2].toInt();
            beginRemoveRows(QModelIndex(), at, at + count - 1);
            rows.remove(at, count);
            endRemoveRows();
        } else if (words[0] == "move") {
            const int count = words[2].toInt(), to = words[3].toInt();
            QVERIFY(beginMoveRows(QModelIndex(), at, at + count - 1, QModelIndex(), to));
            const QVector<QVariantMap> moved = rows.mid(at, count);
            rows.remove(at, count);
            rows.insert(to > at ? to - count : to, count, QVariantMap());
            std::copy(moved.cbegin(), moved.cend(), rows.begin() + (to > at ? to - count : to));
            endMoveRows();
        } else if (words[0] == "set") {
            rows[at][words[2]] = scriptValue(words.mid(3).join(' '));
            const int role = Qt::UserRole + int(names.indexOf(words[2]));
            Q_EMIT dataChanged(index(at), index(at), {role});
        } else if (words[0] == "reset") {
            beginResetModel();
            rows.clear();
            for (const QVariant &row : scriptValue(words.mid(1).join(' ')).toList())
                rows << row.toMap();
            endResetModel();
        }
    }

    QVector<QVariantMap> rows;
    QStringList names;
};

// A row's coordinate as a script's double: what is no number is NaN.
QString number(const QVariant &value)
{
    bool ok = false;
    const double x = value.toDouble(&ok);
    if (!ok || qIsNaN(x))
        return "nan";
    const QString text = QString::number(x, 'g', 17);
    return text.contains('.') || text.contains('e') ? text : text + ".0";
}

// Whether two boxes read back alike, NaN alike too.
bool same(const QVariantMap &a, const QVariantMap &b)
{
    if (a.keys() != b.keys())
        return false;
    for (const QString &key : a.keys()) {
        const bool nan = a[key].userType() == QMetaType::Double && qIsNaN(a[key].toDouble())
                && b[key].userType() == QMetaType::Double && qIsNaN(b[key].toDouble());
        if (!nan && a[key] != b[key])
            return false;
    }
    return true;
}

// The calls a fresh item is given for the rows, one after the other.
QString callsFor(const QString &family, const QVector<QVariantMap> &rows)
{
    QStringList calls;
    const QString add = family == "parameter" ? "addBoxF"
            : family == "dvi"                 ? "addBoxDVIF"
                                              : "addBoxSimpleF";
    const QString update = family == "parameter" ? "updateBoxF"
            : family == "dvi"                    ? "updateBoxDVIF"
                                                 : "updateBoxSimpleF";
    for (const QVariantMap &row : rows) {
        const QString id = row.value("boxId").toString();
        QStringList args {add, '\'' + id + '\''};
        for (const char *key : {"x", "y", "width", "height"})
            args << number(row.value(key));
        if (family != "simple")
            args << number(row.value("borderWidth"));
        calls << args.join(' ');
        QStringList states;
        for (auto it = row.cbegin(); it != row.cend(); ++it) {
            if (it.key().startsWith("is") || it.key().endsWith("Border") || it.key() == "showText")
                states << it.key() + ':' + it.value().toString();
        }
        if (!states.isEmpty())
            calls << update + " '" + id + "' {" + states.join(", ") + '}';
    }
    return calls.join("; ");
}

} // namespace

class tst_Model : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { countFrameLog(); }

    // What a box reads back is what it was given, under the option maps' keys.
    void readBack_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("boxId");
        QTest::addColumn<QString>("expected"); // a script map; empty for none

        QTest::newRow("simple") << "addBoxSimpleF s 1.5 2 30 40; updateBoxSimpleF s {isHover:1}"
                                << "simple"
                                << "s"
                                << "{family:simple, boxId:s, x:1.5, y:2.0, width:30.0, "
                                   "height:40.0, isHover:true, isSelected:false}";
        QTest::newRow("parameter")
                << "addBoxF p 1 2 30 40 3; updateBoxF p {topBorder:1, leftBorder:1};"
                   "updateBoxParamF {currentParam:2.5}; updateBoxF p {topBorder:0}"
                << "parameter"
                << "p"
                << "{family:parameter, boxId:p, x:1.0, y:2.0, width:30.0, height:40.0, "
                   "borderWidth:3.0, topBorder:false, bottomBorder:false, leftBorder:true, "
                   "rightBorder:false, topParam:2.5, bottomParam:1.0, leftParam:2.5, "
                   "rightParam:1.0}";
        QTest::newRow("dvi") << "addBoxDVIF d nan 2 30 40 3; updateBoxDVIF d {showText:0, "
                                "rightBorder:1}"
                             << "dvi"
                             << "d"
                             << "{family:dvi, boxId:d, x:nan, y:2.0, width:30.0, height:40.0, "
                                "borderWidth:3.0, showText:false, showBorder:true, "
                                "topBorder:false, bottomBorder:false, leftBorder:false, "
                                "rightBorder:true}";
        QTest::newRow("added again") << "addBoxSimpleF s 1 2 30 40; updateBoxSimpleF s "
                                        "{isSelected:1}; addBoxSimpleF s 5 6 7 8"
                                     << "simple"
                                     << "s"
                                     << "{family:simple, boxId:s, x:5.0, y:6.0, width:7.0, "
                                        "height:8.0, isHover:false, isSelected:false}";
        QTest::newRow("the empty boxId") << "addBoxSimpleF '' 1 2 3 4"
                                         << "simple"
                                         << ""
                                         << "{family:simple, boxId:'', x:1.0, y:2.0, width:3.0, "
                                            "height:4.0, isHover:false, isSelected:false}";
        QTest::newRow("another family's box") << "addBoxSimpleF s 1 2 30 40"
                                              << "dvi"
                                              << "s"
                                              << "";
        QTest::newRow("no such family") << "addBoxSimpleF s 1 2 30 40"
                                        << "Simple"
                                        << "s"
                                        << "";
        QTest::newRow("removed") << "addBoxSimpleF s 1 2 30 40; remove simple s"
                                 << "simple"
                                 << "s"
                                 << "";
    }

    void readBack()
    {
        QFETCH(QString, script);
        QFETCH(QString, family);
        QFETCH(QString, boxId);
        QFETCH(QString, expected);
        Bll_Painted_Item item;
        run(&item, script);
        const QVariantMap box = BllBoxes::box(&item, family, boxId);
        QVariantMap want = expected.isEmpty() ? QVariantMap() : scriptValue(expected).toMap();
        for (auto it = want.begin(); it != want.end(); ++it) {
            if (it->userType() == QMetaType::Int)
                *it = it->toBool();
        }
        QVERIFY(same(box, want));
        // The singleton answers null where the C++ call answers an empty map.
        BllBoxes boxes;
        const QVariant fromQml = boxes.box(QVariant::fromValue<QObject *>(&item), family, boxId);
        QCOMPARE(fromQml.userType() == QMetaType::Nullptr, box.isEmpty());
    }

    // A frame after a removal is the frame of an item that never had the box, whichever tools
    // the box left for the boxes after it; ids and counts follow.
    void removedBoxesLeaveNoTrace_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("removal");
        QTest::addColumn<QString>("without"); // the script that never adds what was removed
        QTest::addColumn<bool>("partial"); // whether the frame after the removal is partial

        const QString a = "addBoxSimpleF a 10 10 80 60; ", b = "addBoxSimpleF b 40 30 80 60; ",
                      c = "addBoxSimpleF c 70 50 80 60; ";
        QTest::newRow("between others") << a + b + c + "updateBoxSimpleF b {isSelected:1}"
                                        << "remove simple b" << a + c << true;
        QTest::newRow("on top") << a + b + c << "remove simple c" << a + b << true;
        QTest::newRow("added again goes on top")
                << a + b + c << "remove simple a; addBoxSimpleF a 10 10 80 60" << b + c + a << true;
        QTest::newRow("unknown and repeated") << a + b << "remove simple [x, b, b]" << a << true;
        QTest::newRow("every box") << a + b + c << "remove simple [a, b, c]"
                                   << "" << false;
        // As many boxIds as boxes, or more, but not every box: the others stay.
        QTest::newRow("every box, repeated") << a + b + c << "remove simple [c, a, x, b, a]"
                                             << "" << false;
        QTest::newRow("as many, not every box")
                << a + b + c << "remove simple [a, b, b, x]" << c << true;
        // The last parameter box with a label leaves its font to the DVI boxes after it.
        QTest::newRow("the last to leave a font")
                << "addBoxF p 10 10 100 100 5; addBoxF q 20 20 4 4 1; addBoxDVIF d 120 10 100 "
                   "60 4"
                << "remove parameter p"
                << "addBoxF q 20 20 4 4 1; addBoxDVIF d 120 10 100 60 4" << true;
        QTest::newRow("a DVI box under a simple one")
                << "addBoxDVIF d 10 10 100 60 6; updateBoxDVIF d {topBorder:1}; " + a
                << "remove dvi d" << a << false; // the simple boxes start from other tools
        // Enough removals to drop the empty places: the boxes keep their order.
        QString many, kept;
        for (int i = 0; i < 150; ++i) {
            const QString box = QString("addBoxSimpleF m%1 %2 %3 30 20; ")
                                        .arg(i)
                                        .arg(i % 12 * 17)
                                        .arg(i / 12 * 11);
            many += box;
            if (i % 3 == 1)
                kept += box;
        }
        QString removeMany = "remove simple [";
        for (int i = 0; i < 150; ++i)
            removeMany += i % 3 == 1 ? QString() : QString("m%1, ").arg(i);
        QTest::newRow("most boxes") << many << removeMany.chopped(2) + ']' << kept << false;
    }

    void removedBoxesLeaveNoTrace()
    {
        QFETCH(QString, script);
        QFETCH(QString, removal);
        QFETCH(QString, without);
        QFETCH(bool, partial);
        Bll_Painted_Item item, fresh;
        run(&item, script);
        QImage image;
        frame(item, image);
        run(&item, removal);
        frameLog = FrameLog();
        QCOMPARE(frame(item, image), freshFrame(without));
        QCOMPARE(frameLog.partial, int(partial));
        run(&fresh, without);
        for (const QString &family : familyNames) {
            QCOMPARE(BllBoxes::ids(&item, family), BllBoxes::ids(&fresh, family));
            QCOMPARE(BllBoxes::count(&item, family), BllBoxes::count(&fresh, family));
        }
        // Picking passes over the empty places.
        for (int y = 0; y < 160; y += 7) {
            for (int x = 0; x < 240; x += 7) {
                QCOMPARE(BllPicking::boxAt(&item, QPointF(x, y)).boxId,
                         BllPicking::boxAt(&fresh, QPointF(x, y)).boxId);
            }
        }
    }

    // Many simple boxes' states in one call: the boxes that changed are counted and repainted.
    void bulkStates_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("changed");
        QTest::addColumn<QString>("selected"); // afterwards

        QTest::newRow("listed") << "setSimpleStates [a, c, x] {isSelected:1}" << 1 << "a c";
        QTest::newRow("the first box") << "setSimpleStates [a] {isSelected:0}" << 1 << "";
        QTest::newRow("listed twice") << "setSimpleStates [b, b] {isSelected:true}" << 1 << "a b";
        QTest::newRow("all") << "setAllSimpleStates {isSelected:0}" << 1 << "";
        QTest::newRow("all, as they were") << "setAllSimpleStates {isHover:0}" << 0 << "a";
        QTest::newRow("no keys") << "setAllSimpleStates {}" << 0 << "a";
        QTest::newRow("one boxId") << "setSimpleStates b {isSelected:1, isHover:1}" << 1 << "a b";
    }

    void bulkStates()
    {
        QFETCH(QString, call);
        QFETCH(int, changed);
        QFETCH(QString, selected);
        const QString boxes = "addBoxSimpleF a 10 10 60 40; addBoxSimpleF b 80 10 60 40;"
                              "addBoxSimpleF c 150 10 60 40; updateBoxSimpleF a {isSelected:1}";
        Bll_Painted_Item item;
        run(&item, boxes);
        QImage image;
        frame(item, image);
        QCOMPARE(int(run(&item, call)), 0); // run() answers only for updateBoxF
        BllBoxes bll;
        Bll_Painted_Item again;
        run(&again, boxes);
        // The same call through the singleton, as QML makes it, answers how many changed.
        const QString args = call.section(' ', 1);
        const int statesAt = args.lastIndexOf('{');
        const QVariant target = QVariant::fromValue<QObject *>(&again);
        const QVariantMap states = scriptValue(args.mid(statesAt)).toMap();
        QCOMPARE(call.startsWith("setAll")
                         ? bll.setAllSimpleStates(target, states)
                         : bll.setSimpleStates(target, scriptValue(args.left(statesAt).trimmed()),
                                               states),
                 changed);
        QString script = boxes;
        for (const QString &id : BllBoxes::ids(&item, "simple")) {
            QCOMPARE(BllBoxes::box(&item, "simple", id), BllBoxes::box(&again, "simple", id));
            script += QString("; updateBoxSimpleF %1 {isSelected:%2, isHover:%3}")
                              .arg(id)
                              .arg(BllBoxes::box(&item, "simple", id)["isSelected"].toBool())
                              .arg(BllBoxes::box(&item, "simple", id)["isHover"].toBool());
            QCOMPARE(BllBoxes::box(&item, "simple", id)["isSelected"].toBool(),
                     selected.split(' ').contains(id));
        }
        frameLog = FrameLog();
        QCOMPARE(frame(item, image), freshFrame(script));
        QCOMPARE(frameLog.partial, 1);
    }

    // The mapper against a fresh item given the model's rows one after the other: after every
    // change of the model, the same boxes, states and frame.
    void mapperFollowsModel_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("rows"); // a script list of maps
        QTest::addColumn<QString>("changes"); // separated by '|'

        const QString rows = "[{boxId:a, x:10.0, y:10.0, width:80.0, height:60.0, isHover:false,"
                             " isSelected:false}, {boxId:b, x:40.0, y:30.0, width:80.0, "
                             "height:60.0, isHover:false, isSelected:true}, {boxId:c, x:70.0, "
                             "y:50.0, width:80.0, height:60.0, isHover:false, isSelected:false}]";
        const QString d = "{boxId:d, x:20.0, y:60.0, width:90.0, height:50.0, isHover:true, "
                          "isSelected:false}";
        QTest::newRow("appended") << "simple" << rows << "insert 3 " + d;
        QTest::newRow("inserted first") << "simple" << rows << "insert 0 " + d;
        QTest::newRow("inserted between")
                << "simple" << rows
                << "insert 1 " + d + "|insert 2 " + QString(d).replace("boxId:d", "boxId:e");
        QTest::newRow("removed") << "simple" << rows << "remove 1 1|remove 0 2";
        QTest::newRow("moved") << "simple" << rows << "move 0 1 3|move 2 1 0";
        QTest::newRow("moved, changed")
                << "simple" << rows
                << "set 0 x 100.0|set 1 isSelected false|set 2 width 5.0|set 1 y 3.5"
                   "|set 0 isHover true|set 2 height nonsense";
        QTest::newRow("boxId changed") << "simple" << rows << "set 0 boxId z|set 2 boxId a";
        QTest::newRow("boxIds repeated")
                << "simple" << rows
                << "set 2 boxId a|insert 1 " + d + "|set 1 boxId b|remove 1 1|remove 0 1";
        QTest::newRow("reset") << "simple" << rows
                               << "reset [{boxId:q, x:1.0, y:2.0, width:30.0, height:20.0, "
                                  "isHover:true, isSelected:false}]|reset []|insert 0 "
                        + d;
        QTest::newRow("parameter boxes")
                << "parameter"
                << "[{boxId:p, x:10.0, y:10.0, width:100.0, height:80.0, borderWidth:8.0, "
                   "topBorder:true, leftBorder:false}]"
                << "set 0 leftBorder true|set 0 borderWidth 3.0|insert 0 {boxId:q, x:60.0, "
                   "y:40.0, width:100.0, height:80.0, borderWidth:5.0, topBorder:false, "
                   "leftBorder:true}";
        // The family holds the mapper's boxes alone: a reset clears it.
        QTest::newRow("parameter boxes reset")
                << "parameter"
                << "[{boxId:p, x:10.0, y:10.0, width:100.0, height:80.0, borderWidth:8.0}]"
                << "reset [{boxId:q, x:60.0, y:40.0, width:100.0, height:80.0, "
                   "borderWidth:5.0}]|set 0 x 20.0";
        QTest::newRow("dvi boxes")
                << "dvi"
                << "[{boxId:v, x:10.0, y:10.0, width:100.0, height:80.0, borderWidth:6.0, "
                   "showText:false, showBorder:false, rightBorder:true}]"
                << "set 0 showText true|set 0 showBorder true|set 0 rightBorder false|remove 0 1";
        QTest::newRow("a role missing") << "simple"
                                        << "[{boxId:a, x:10.0, y:10.0, width:80.0}]"
                                        << "insert 1 {boxId:b, x:30.0, y:20.0, width:40.0}";
    }

    void mapperFollowsModel()
    {
        QFETCH(QString, family);
        QFETCH(QString, rows);
        QFETCH(QString, changes);
        QVector<QVariantMap> start;
        for (const QVariant &row : scriptValue(rows).toList())
            start << row.toMap();
        RowModel model(start);
        Bll_Painted_Item item;
        item.addBoxSimpleF("other", 0, 100, 50, 50); // not the mapper's
        BllBoxModel mapper;
        mapper.setFamily(family);
        mapper.setModel(&model);
        mapper.setTarget(&item);
        QImage image;
        const QString other = "addBoxSimpleF other 0 100 50 50";
        for (const QString &change : ("|" + changes).split('|')) {
            model.apply(change);
            const QString script = other + "; " + callsFor(family, model.rows);
            Bll_Painted_Item fresh;
            run(&fresh, script);
            QCOMPARE(mapper.count(), model.rows.size());
            QCOMPARE(BllBoxes::ids(&item, family), BllBoxes::ids(&fresh, family));
            for (const QString &id : BllBoxes::ids(&item, family))
                QVERIFY(same(BllBoxes::box(&item, family, id), BllBoxes::box(&fresh, family, id)));
            QVERIFY2(frame(item, image) == freshFrame(script), qPrintable(change));
        }
        // Another family, then no model: the mapper takes away only its own boxes.
        mapper.setFamily(family == "dvi" ? "simple" : "dvi");
        QCOMPARE(BllBoxes::count(&item, family), int(family == "simple"));
        mapper.setModel(nullptr);
        QCOMPARE(BllBoxes::ids(&item, "simple"), QStringList {"other"});
        QCOMPARE(BllBoxes::count(&item, "dvi") + BllBoxes::count(&item, "parameter"), 0);
        QCOMPARE(frame(item, image), freshFrame(other));
    }

    // A row given what it holds already changes nothing: the next frame repaints no box.
    void rowsAsTheyWereRepaintNothing()
    {
        for (const QString &family : familyNames) {
            RowModel model({{{"boxId", "a"},
                             {"x", 10.0},
                             {"y", 10.0},
                             {"width", 80.0},
                             {"height", 60.0},
                             {"borderWidth", 4.0}}});
            Bll_Painted_Item item;
            BllBoxModel mapper;
            mapper.setFamily(family);
            mapper.setModel(&model);
            mapper.setTarget(&item);
            QImage image;
            frame(item, image);
            model.apply("set 0 x 10.0");
            model.apply("set 0 borderWidth 4.0");
            frameLog = FrameLog();
            frame(item, image);
            QCOMPARE(frameLog.boxes, 0);
        }
    }

    // Every kind of change of the model asks the item's window for a frame.
    void modelChangesRepaint()
    {
        RowModel model({{{"boxId", "a"}, {"x", 10.0}, {"y", 10.0}, {"width", 80.0}}});
        QQuickWindow window;
        window.resize(240, 160);
        Bll_Painted_Item item;
        item.setParentItem(window.contentItem());
        item.setSize(QSizeF(240, 160));
        BllBoxModel mapper;
        mapper.setFamily("simple");
        mapper.setModel(&model);
        mapper.setTarget(&item);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy frames(&window, &QQuickWindow::frameSwapped);
        for (const char *change :
             {"set 0 x 30.0", "insert 1 {boxId:b, x:50.0, y:40.0, width:20.0}", "move 0 1 2",
              "remove 1 1", "reset [{boxId:c, x:5.0, y:5.0, width:9.0}]"}) {
            QTest::qWait(50);
            frames.clear();
            model.apply(change);
            QVERIFY2(frames.wait(2000), change);
        }
    }

    // A parameter box's parameters come from roles of their names, as a box reads them back,
    // and follow the model's changes.
    void parametersFollowTheirRoles()
    {
        RowModel model({scriptValue("{boxId:p, x:10.0, y:10.0, width:100.0, height:80.0, "
                                    "borderWidth:8.0, topParam:2.0, bottomParam:4.5, "
                                    "leftParam:0.5, rightParam:3.0}")
                                .toMap()});
        Bll_Painted_Item item;
        BllBoxModel mapper;
        mapper.setFamily("parameter");
        mapper.setModel(&model);
        mapper.setTarget(&item);
        const auto params = [&] {
            const QVariantMap box = BllBoxes::box(&item, "parameter", "p");
            return QVector<double> {
                    box.value("topParam").toDouble(), box.value("bottomParam").toDouble(),
                    box.value("leftParam").toDouble(), box.value("rightParam").toDouble()};
        };
        QCOMPARE(params(), (QVector<double> {2.0, 4.5, 0.5, 3.0}));
        model.apply("set 0 bottomParam 6.0");
        model.apply("set 0 leftParam 1.5");
        QCOMPARE(params(), (QVector<double> {2.0, 6.0, 1.5, 3.0}));
    }

    // Roles named otherwise, roles that appear late, a model or a target deleted under the
    // mapper.
    void mapperLifetime()
    {
        Bll_Painted_Item item;
        BllBoxModel mapper;
        mapper.setTarget(&item);
        mapper.setIdRole("name");
        mapper.setStateRoles({{"isSelected", "chosen"}});
        auto *model = new RowModel({});
        mapper.setModel(model);
        QCOMPARE(mapper.count(), 0);
        model->names = QStringList {"chosen", "height", "name", "width", "x", "y"};
        model->apply("insert 0 {name:n, x:1.0, y:2.0, width:30.0, height:40.0, chosen:true}");
        QCOMPARE(BllBoxes::ids(&item, "simple"), QStringList {"n"});
        QVERIFY(BllBoxes::box(&item, "simple", "n")["isSelected"].toBool());
        // A state without a role stays as other calls set it, through changes of the row.
        item.updateBoxSimpleF("n", {{"isHover", true}});
        model->apply("set 0 x 5.0");
        model->apply("insert 0 {name:m, x:1.0, y:2.0, width:3.0, height:4.0, chosen:false}");
        QCOMPARE(BllBoxes::ids(&item, "simple"), (QStringList {"m", "n"}));
        QVERIFY(BllBoxes::box(&item, "simple", "n")["isHover"].toBool());
        QCOMPARE(BllBoxes::box(&item, "simple", "n")["x"].toDouble(), 5.0);
        QSignalSpy counted(&mapper, &BllBoxModel::countChanged);
        delete model;
        QCOMPARE(mapper.model(), nullptr);
        QCOMPARE(BllBoxes::count(&item, "simple"), 0);
        QCOMPARE(counted.count(), 1);

        auto *target = new Bll_Painted_Item;
        RowModel rows({{{"boxId", "t"}, {"x", 1.0}, {"y", 1.0}, {"width", 9.0}, {"height", 9.0}}});
        mapper.setIdRole("boxId");
        counted.clear();
        mapper.setModel(&rows);
        QCOMPARE(counted.count(), 1); // fed anew, one box
        mapper.setTarget(target);
        QCOMPARE(counted.count(), 1); // the same box, elsewhere
        QCOMPARE(BllBoxes::ids(target, "simple"), QStringList {"t"});
        delete target;
        QCOMPARE(mapper.target(), nullptr);
        QCOMPARE(mapper.count(), 0);
        rows.apply("insert 1 {boxId:u, x:1.0, y:1.0, width:9.0, height:9.0}");
        mapper.setTarget(&item);
        QCOMPARE(BllBoxes::ids(&item, "simple"), (QStringList {"t", "u"}));

        // A list of strings names its boxes by Qt's display role, role 0.
        QStringListModel names({"v", "w"});
        mapper.setIdRole("display");
        mapper.setModel(&names);
        QCOMPARE(BllBoxes::ids(&item, "simple"), (QStringList {"v", "w"}));
    }
};

QTEST_MAIN(tst_Model)
#include "tst_model.moc"
