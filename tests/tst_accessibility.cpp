#include "test_item.h"

#include <bll_painted_item_accessibility.h>
#include <bll_painted_item_boxes.h>
#include <bll_painted_item_navigator.h>
#include <bll_painted_item_picking.h>

#include <QtCore/QProcess>
#include <QtCore/QRandomGenerator>
#include <QtGui/QAccessible>
#include <QtQml/QQmlComponent>
#include <QtQml/QQmlEngine>
#include <QtQuick/QQuickWindow>
#include <QtTest/QtTest>

// The accessible tree of an item's boxes as Qt's accessibility clients read it, the events it
// sends as the boxes change, and the keyboard navigator.

namespace {

// Every event sent, as "<event> <name>", with the states that changed.
QStringList events;

QString nameOf(QAccessibleInterface *iface)
{
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("?");
}

void record(QAccessibleEvent *event)
{
    static const QHash<int, QString> names = {{QAccessible::ObjectCreated, "created"},
                                              {QAccessible::ObjectDestroyed, "destroyed"},
                                              {QAccessible::ObjectReorder, "reorder"},
                                              {QAccessible::Selection, "selection"},
                                              {QAccessible::StateChanged, "state"},
                                              {QAccessible::DescriptionChanged, "description"},
                                              {QAccessible::NameChanged, "name"},
                                              {QAccessible::LocationChanged, "location"},
                                              {QAccessible::Focus, "focus"}};
    if (!names.contains(event->type()))
        return;
    // A client reads what the event names while it is told, a box that is gone too.
    QAccessibleInterface *iface = event->accessibleInterface();
    QString text = names[event->type()] + ' ' + nameOf(iface && iface->isValid() ? iface : nullptr);
    if (event->type() == QAccessible::StateChanged) {
        const QAccessible::State s =
                static_cast<QAccessibleStateChangeEvent *>(event)->changedStates();
        text += s.checked ? " checked" : s.hotTracked ? " hot" : " other";
    }
    events << text;
}

// A box as a client reads it: role, name, description, states, place.
QString describe(QAccessibleInterface *iface)
{
    static const QHash<int, QString> roles = {{QAccessible::Grouping, "group"},
                                              {QAccessible::StaticText, "label"},
                                              {QAccessible::ListItem, "item"},
                                              {QAccessible::CheckBox, "check"}};
    const QAccessible::State s = iface->state();
    QStringList states;
    if (s.selected)
        states << "selected";
    if (s.hotTracked)
        states << "hot";
    if (s.checked)
        states << "checked";
    if (s.invisible)
        states << "invisible";
    if (s.offscreen)
        states << "offscreen";
    const QRect r = iface->rect();
    QString text = QStringLiteral("%1 %2 [%3] %4,%5 %6x%7")
                           .arg(roles.value(iface->role(), "?"), iface->text(QAccessible::Name),
                                states.join(' '))
                           .arg(r.x())
                           .arg(r.y())
                           .arg(r.width())
                           .arg(r.height());
    const QString description = iface->text(QAccessible::Description);
    return description.isEmpty() ? text : text + " (" + description + ')';
}

// Every child and grandchild, depth first.
QStringList tree(QAccessibleInterface *iface)
{
    QStringList lines;
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface *child = iface->child(i);
        lines << describe(child);
        if (child->parent() != iface || iface->indexOfChild(child) != i)
            lines << "misplaced";
        for (const QString &line : tree(child))
            lines << "  " + line;
    }
    return lines;
}

// How many accessible interfaces are alive: the cache hands out ids from 2^31 on, taking the
// lowest free one.
int liveInterfaces()
{
    int live = 0;
    for (QAccessible::Id id = QAccessible::Id(INT_MAX) + 1; id < QAccessible::Id(INT_MAX) + 300000;
         ++id)
        live += QAccessible::accessibleInterface(id) != nullptr;
    return live;
}

// The boxIds in the order they were current, each once in a row.
QStringList inTurn(const QStringList &boxIds)
{
    QStringList turns;
    for (const QString &boxId : boxIds)
        if (turns.isEmpty() || turns.last() != boxId)
            turns << boxId;
    return turns;
}

// An item filling a window, and a navigator aimed at it with the keyboard focus.
struct NavigatedItem
{
    NavigatedItem(int width, int height, const QString &script)
    {
        window.resize(width, height);
        item.setParentItem(window.contentItem());
        item.setSize(QSizeF(width, height));
        run(&item, script);
        navigator.setSize(item.size());
        navigator.setTarget(&item);
        navigator.setFocus(true);
    }
    bool activate()
    {
        window.show();
        window.requestActivate();
        return QTest::qWaitForWindowActive(&window) && navigator.hasActiveFocus();
    }
    QQuickWindow window;
    Bll_Painted_Item item {nullptr};
    BllBoxNavigator navigator {&item};
};

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Naming boxes, before anything else, puts an item's boxes in the tree.
        Bll_Painted_Item named;
        run(&named, "addBoxSimpleF s 0 0 20 20");
        BllAccessibility::setBoxNames(&named, "simple", {{"s", "Kitchen"}});
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&named);
        QVERIFY(iface);
        QCOMPARE(nameOf(iface->child(0)), "Kitchen");
        // Qt sends accessibility events only while a client may hear them: once its bridge
        // joined the accessibility bus, which is started here.
        QProcess::execute(
                "dbus-send",
                {"--session", "--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress"});
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 20000);
        QAccessible::installUpdateHandler(record);
    }

    void boxesAsChildren_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("each family")
                << "addBoxSimpleF s 10.7 150.2 80.6 40; updateBoxSimpleF s {isSelected:true, "
                   "isHover:1};"
                   "addBoxDVIF d 150 10 100 60 4; updateBoxDVIF d {topBorder:true, "
                   "leftBorder:true};"
                   "addBoxF p 10 10 100 60 8; updateBoxF p {rightBorder:true};"
                   "updateBoxParamF {currentParam:2.5}"
                << QStringList {"group p [] 10,10 100x60",
                                "  check top [] 10,10 100x8 (parameter 1)",
                                "  check bottom [] 10,62 100x8 (parameter 1)",
                                "  check left [] 10,10 8x60 (parameter 1)",
                                "  check right [checked] 102,10 8x60 (parameter 2.5)",
                                "label d [] 150,10 100x60 (marked: top, left)",
                                "item s [selected hot] 10,150 80x40"};
        QTest::newRow("removed and re-added")
                << "addBoxSimpleF a 0 0 10 10; addBoxSimpleF b 0 20 10 10; addBoxSimpleF c 0 40 10 "
                   "10;"
                   "remove simple b; remove simple a; addBoxSimpleF a 5 5 10 10"
                << QStringList {"item c [] 0,40 10x10", "item a [] 5,5 10x10"};
        QTest::newRow("skipped and outside")
                << "addBoxSimpleF thin 0 0 1 50; addBoxSimpleF edge -20 60 21 10;"
                   "addBoxDVIF far 500 10 20 20 2;"
                   "updateBoxDVIF far {showText:false}; addBoxSimpleF nan nan 0 10 10"
                << QStringList {"label far [offscreen] 500,10 20x20 (text hidden)",
                                "item thin [invisible] 0,0 0x0", "item edge [] -20,60 21x10",
                                "item nan [invisible] 0,0 0x0"};
    }
    void boxesAsChildren()
    {
        QFETCH(QString, script);
        Bll_Painted_Item item;
        item.setSize(QSizeF(300, 300));
        run(&item, script);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&item);
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Grouping);
        QFETCH(QStringList, expected);
        QCOMPARE(tree(iface), expected);
        QCOMPARE(iface->child(iface->childCount()), nullptr);
        QCOMPARE(iface->child(-1), nullptr);
    }

    // The child at a point is the box picking finds, and within a parameter box the side.
    void childAtIsTheBoxPicked()
    {
        Bll_Painted_Item item;
        item.setSize(QSizeF(400, 400));
        QRandomGenerator random(7);
        const char *adds[] = {"addBoxF", "addBoxDVIF", "addBoxSimpleF"};
        for (int i = 0; i < 60; ++i) {
            const QString add = adds[random.bounded(3)];
            run(&item,
                QStringLiteral("%1 b%2 %3 %4 %5 %6 %7")
                        .arg(add)
                        .arg(i)
                        .arg(random.bounded(350.0))
                        .arg(random.bounded(350.0))
                        .arg(1 + random.bounded(89.0))
                        .arg(1 + random.bounded(89.0))
                        .arg(add == "addBoxSimpleF" ? QString()
                                                    : QString::number(random.bounded(20))));
        }
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&item);
        QAccessibleInterface *before = nullptr; // the last box found
        for (int n = 0; n < 2000; ++n) {
            const QPoint point(random.bounded(400), random.bounded(400));
            const BllPickedBox picked = BllPicking::boxAt(&item, point);
            // A box's sides are found only where that box is picked.
            if (before && nameOf(before) != picked.boxId)
                QVERIFY(!before->childAt(point.x(), point.y()));
            QAccessibleInterface *box = iface->childAt(point.x(), point.y());
            QCOMPARE(nameOf(box), picked.isNull() ? "?" : picked.boxId);
            if (!box)
                continue;
            QAccessibleInterface *side = box->childAt(point.x(), point.y());
            QCOMPARE(side ? nameOf(side) : QString(),
                     picked.family == "parameter" ? picked.side : QString());
            before = box;
        }
    }

    void eventsFollowChanges_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("select") << "updateBoxSimpleF s {isSelected:true}"
                                << QStringList {"selection s"};
        QTest::newRow("hover") << "updateBoxSimpleF s {isHover:true}"
                               << QStringList {"state s hot"};
        QTest::newRow("nothing changes")
                << "updateBoxSimpleF s {isSelected:false}" << QStringList();
        QTest::newRow("pick a side")
                << "updateBoxF p {leftBorder:true}" << QStringList {"state left checked"};
        QTest::newRow("parameters") << "updateAllBoxParamF {currentParam:3}"
                                    << QStringList {"description top", "description bottom",
                                                    "description left", "description right"};
        QTest::newRow("dvi marker")
                << "updateBoxDVIF d {bottomBorder:true}" << QStringList {"description d"};
        QTest::newRow("add") << "addBoxSimpleF t 50 50 10 10" << QStringList {"created t"};
        QTest::newRow("move") << "addBoxSimpleF s 60 60 10 10" << QStringList {"location s"};
        QTest::newRow("out of sight")
                << "addBoxSimpleF s 200 60 20 20" << QStringList {"location s", "state s other"};
        QTest::newRow("shrunk to nothing")
                << "addBoxSimpleF s 0 60 0.5 20" << QStringList {"location s", "state s other"};
        QTest::newRow("remove") << "remove simple s" << QStringList {"destroyed s"};
        QTest::newRow("remove before another") << "addBoxSimpleF t 50 50 10 10; remove simple s"
                                               << QStringList {"destroyed s", "created t"};
        QTest::newRow("clear") << "clearBoxF" << QStringList {"destroyed p"};
        QTest::newRow("names") << "setBoxNames simple {s:Kitchen}" << QStringList {"name Kitchen"};
        // Turns, each with its own events.
        QTest::newRow("select, then unselect next turn")
                << "updateBoxSimpleF s {isSelected:true} | updateBoxSimpleF s {isSelected:false}"
                << QStringList {"selection s", "selection s"};
        QTest::newRow("hover, then clear") << "updateBoxSimpleF s {isHover:true}; clearBoxSimpleF"
                                           << QStringList {"destroyed s"};
        // Past 32 changes in one turn, one event.
        QString many;
        for (int i = 0; i < 40; ++i)
            many += QStringLiteral("addBoxSimpleF m%1 0 0 5 5;").arg(i);
        QTest::newRow("many adds") << many << QStringList {"created p"};
        QTest::newRow("many states")
                << many + "setAllSimpleStates {isSelected:true}" << QStringList {"created p"};
        // 32 changes in one turn, an event each.
        QString few;
        QStringList created, selected {"selection s"};
        for (int i = 0; i < 31; ++i) {
            few += QStringLiteral("addBoxSimpleF f%1 0 0 5 5;").arg(i);
            created << QStringLiteral("created f%1").arg(i);
            selected << QStringLiteral("selection f%1").arg(i);
        }
        QTest::newRow("as many states as an event each")
                << few + " | setAllSimpleStates {isSelected:true}" << created + selected;
        // A client that read boxes before is told to read again: the item, which has no name.
        QTest::newRow("many changes, then nothing left")
                << many + "clearBoxF; clearBoxDVIF; clearBoxSimpleF" << QStringList {"reorder "};
    }
    void eventsFollowChanges()
    {
        QFETCH(QString, change);
        Bll_Painted_Item item;
        item.setSize(QSizeF(100, 100));
        run(&item, "addBoxF p 0 0 50 50 5; addBoxDVIF d 60 0 30 30 3; addBoxSimpleF s 0 60 20 20");
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&item);
        tree(iface); // a client has read every box
        QCoreApplication::processEvents();
        events.clear();
        if (change.startsWith("setBoxNames")) {
            BllAccessibility::setBoxNames(&item, "simple", {{"s", "Kitchen"}});
        } else {
            for (const QString &turn : change.split(" | ")) {
                run(&item, turn);
                QCoreApplication::processEvents();
            }
        }
        QCoreApplication::processEvents();
        QFETCH(QStringList, expected);
        QCOMPARE(events, expected);
        // What the client reads now is what a fresh tree of the same boxes gives.
        const QStringList now = tree(iface);
        Bll_Painted_Item fresh;
        fresh.setSize(item.size());
        run(&fresh, "addBoxF p 0 0 50 50 5; addBoxDVIF d 60 0 30 30 3; addBoxSimpleF s 0 60 20 20");
        if (change.startsWith("setBoxNames"))
            BllAccessibility::setBoxNames(&fresh, "simple", {{"s", "Kitchen"}});
        else
            run(&fresh, QString(change).replace(" | ", "; "));
        QCOMPARE(now, tree(QAccessible::queryAccessibleInterface(&fresh)));
    }

    // Interfaces are made for what a client asks, never for the boxes it does not; the item's
    // going takes them with it.
    void childrenAreMadeWhenAsked()
    {
        const int before = liveInterfaces();
        {
            Bll_Painted_Item item;
            item.setSize(QSizeF(1000, 1000));
            for (int i = 0; i < 100000; ++i)
                item.addBoxSimpleF(QString::number(i), i % 1000, i / 100, 1.5, 1.5);
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&item);
            QCOMPARE(iface->childCount(), 100000);
            QCOMPARE(nameOf(iface->child(99999)), "99999");
            QCOMPARE(nameOf(iface->childAt(500, 5)), "500");
            QCOMPARE(iface->indexOfChild(iface->childAt(500, 5)), 500);
            QCOMPARE(liveInterfaces() - before, 3); // the item's and two boxes'
            events.clear();
            BllBoxes::setAllSimpleStates(&item, {{"isSelected", true}});
            QCoreApplication::processEvents();
            QCOMPARE(events, QStringList {"created 0"});
        }
        QCOMPARE(liveInterfaces(), before);
    }

    void navigatorKeys_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QStringList>("current");
        const int tab = Qt::Key_Tab, backtab = Qt::Key_Backtab,
                  shiftTab = int(Qt::ShiftModifier) | Qt::Key_Tab;
        QTest::newRow("tab in paint order") << QList<int> {tab, tab, tab, tab, tab, tab}
                                            << QStringList {"p", "d", "far", "s1", "s2", "s2"};
        QTest::newRow("back from the end")
                << QList<int> {Qt::Key_End, backtab, shiftTab, backtab, shiftTab, backtab}
                << QStringList {"s2", "s1", "far", "d", "p", "p"};
        QTest::newRow("arrows") << QList<int> {Qt::Key_Down, Qt::Key_Right, Qt::Key_Down,
                                               Qt::Key_Left, Qt::Key_Up,    Qt::Key_Left}
                                << QStringList {"p", "d", "s2", "s1", "p", "p"};
        QTest::newRow("nearest across") << QList<int> {Qt::Key_Home, Qt::Key_Right, Qt::Key_Right}
                                        << QStringList {"p", "d", "far"};
        // Shortcuts of the window's own, not the navigator's.
        QTest::newRow("other modifiers")
                << QList<int> {tab, int(Qt::ControlModifier) | Qt::Key_Right,
                               int(Qt::AltModifier) | Qt::Key_Down,
                               int(Qt::ControlModifier) | Qt::Key_End}
                << QStringList {"p", "p", "p", "p"};
    }
    void navigatorKeys()
    {
        // d lies right of p, s2 below d; far lies right of d but below it, and a box that
        // paints nothing and a removed one lie in between.
        NavigatedItem scene(
                600, 400,
                "addBoxF p 0 0 50 50 5; addBoxDVIF d 200 0 50 50 3; addBoxDVIF far 400 60 50 50 3;"
                "addBoxSimpleF s1 0 200 50 50; addBoxSimpleF none 300 0 0 50;"
                "addBoxSimpleF gone 300 10 50 50; addBoxSimpleF s2 200 200 50 50;"
                "remove simple gone");
        BllBoxNavigator &navigator = scene.navigator;
        QVERIFY(scene.activate());
        events.clear();
        QFETCH(QList<int>, keys);
        QFETCH(QStringList, current);
        QStringList seen;
        for (const int key : keys) {
            QTest::keyClick(&scene.window, Qt::Key(key & ~int(Qt::KeyboardModifierMask)),
                            Qt::KeyboardModifiers(key & int(Qt::KeyboardModifierMask)));
            seen << navigator.currentBox().toMap().value("boxId").toString();
        }
        QCOMPARE(seen, current);
        QStringList focused;
        for (const QString &event : events)
            if (event.startsWith("focus "))
                focused << event.mid(6);
        QCOMPARE(focused, inTurn(current));
    }

    // Arrows on random plans, huge and tiny boxes among them, against a scan over every box.
    void arrowsFindTheNearestBox()
    {
        Bll_Painted_Item item;
        QRandomGenerator random(11);
        QVector<QRectF> rects;
        for (int i = 0; i < 300; ++i) {
            const double size = i % 50 == 0 ? 5000 : 2 + random.bounded(40);
            rects << QRectF(random.bounded(2000) - 500, random.bounded(2000) - 500, size, size);
            item.addBoxSimpleF(QString::number(i), rects[i].x(), rects[i].y(), size, size);
        }
        BllBoxNavigator navigator;
        QKeyEvent aimless(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QCoreApplication::sendEvent(&navigator, &aimless);
        QVERIFY(!aimless.isAccepted()); // without a target, keys go on to others
        navigator.setTarget(&item);
        const struct
        {
            Qt::Key key;
            QPointF direction;
        } arrows[] = {{Qt::Key_Left, {-1, 0}},
                      {Qt::Key_Right, {1, 0}},
                      {Qt::Key_Up, {0, -1}},
                      {Qt::Key_Down, {0, 1}}};
        for (int from = 0; from < rects.size(); from += 7) {
            for (const auto &arrow : arrows) {
                int nearest = from;
                double best = qInf();
                for (int i = 0; i < rects.size(); ++i) {
                    const QPointF d = rects[i].center() - rects[from].center();
                    const double along = QPointF::dotProduct(d, arrow.direction);
                    const double across = std::abs(QPointF::dotProduct(
                            d, QPointF(arrow.direction.y(), arrow.direction.x())));
                    if (i != from && along > 0 && along + 2 * across < best) {
                        best = along + 2 * across;
                        nearest = i;
                    }
                }
                navigator.setCurrentBox(
                        QVariantMap {{"family", "simple"}, {"boxId", QString::number(from)}});
                QKeyEvent press(QEvent::KeyPress, arrow.key, Qt::NoModifier);
                QCoreApplication::sendEvent(&navigator, &press);
                QCOMPARE(navigator.currentBox().toMap().value("boxId").toString(),
                         QString::number(nearest));
            }
        }
    }

    // The ring lies around the current box; Space and an accessibility action activate.
    void navigatorRingAndActivation()
    {
        NavigatedItem scene(100, 100, "addBoxSimpleF a 20 20 40 40; addBoxSimpleF b 70 70 10 10");
        QQuickWindow &window = scene.window;
        Bll_Painted_Item &item = scene.item;
        BllBoxNavigator &navigator = scene.navigator;
        navigator.setRingColor(QColor(0x12, 0xab, 0x34));
        navigator.setRingWidth(1);
        QSignalSpy activated(&navigator, &BllBoxNavigator::activated);
        QVERIFY(scene.activate());
        const auto ringPixels = [&] {
            const QImage image = window.grabWindow();
            int red = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    red += image.pixel(x, y) == qRgb(0x12, 0xab, 0x34);
            return red;
        };
        QCOMPARE(ringPixels(), 0);
        navigator.setCurrentBox(QVariantMap {{"family", "simple"}, {"boxId", "a"}});
        QCOMPARE(ringPixels(), 42 * 2 + 40 * 2);
        // The same box again is no change.
        QSignalSpy changed(&navigator, &BllBoxNavigator::currentBoxChanged);
        navigator.setCurrentBox(QVariantMap {{"family", "simple"}, {"boxId", "a"}});
        QCOMPARE(changed.count(), 0);
        // Nor is the same target.
        QSignalSpy retargeted(&navigator, &BllBoxNavigator::targetChanged);
        navigator.setTarget(&item);
        QCOMPARE(retargeted.count(), 0);
        QCOMPARE(changed.count(), 0);
        // Screen readers see the current box focused, and no other.
        QAccessibleInterface *boxes = QAccessible::queryAccessibleInterface(&item);
        QVERIFY(boxes->child(0)->state().focused);
        QVERIFY(!boxes->child(1)->state().focused);
        QTest::keyClick(&window, Qt::Key_Space);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.last().first().toMap().value("boxId").toString(), "a");

        QAccessibleInterface *b = QAccessible::queryAccessibleInterface(&item)->child(1);
        b->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(activated.count(), 2);
        QCOMPARE(activated.last().first().toMap().value("boxId").toString(), "b");
        // A side's action activates that side.
        item.addBoxF("p", 0, 80, 30, 12, 3);
        QAccessibleInterface *top =
                QAccessible::queryAccessibleInterface(&item)->child(0)->child(0);
        top->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(activated.last().first().toMap().value("side").toString(), "top");

        BllBoxes::remove(&item, "simple", {"a"});
        QTRY_COMPARE(navigator.currentBox(), QVariant::fromValue(nullptr));
        QCOMPARE(ringPixels(), 0);
        navigator.setCurrentBox(QVariantMap {{"family", "simple"}, {"boxId", "a"}});
        QCOMPARE(navigator.currentBox(), QVariant::fromValue(nullptr));
    }

    // An item made by QML is listed where Qt Quick lists accessible items, whatever its file
    // imports, and keeps the name QML gives it.
    void itemsJoinQtQuicksTree()
    {
        qmlRegisterType<Bll_Painted_Item>("Test.Boxes", 1, 0, "Boxes");
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQuick 2.0\nimport Test.Boxes 1.0\nItem { Item { Boxes { "
                          "objectName: 'plain' } }"
                          " Boxes { Accessible.name: 'named' } }",
                          QUrl());
        const int engineChildren = engine.children().size();
        QScopedPointer<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        QQuickWindow window;
        qobject_cast<QQuickItem *>(root.data())->setParentItem(window.contentItem());
        QCoreApplication::processEvents();
        // What lists them is made once for the engine, which owns it.
        QCOMPARE(engine.children().size(), engineChildren + 1);
        QAccessibleInterface *top = QAccessible::queryAccessibleInterface(&window);
        QStringList found;
        for (int i = 0; i < top->childCount(); ++i) {
            found << nameOf(top->child(i));
            QCOMPARE(top->child(i)->parent(), top);
            QCOMPARE(top->child(i)->role(), QAccessible::Grouping);
        }
        QCOMPARE(found, QStringList({"plain", "named"}));
    }
};

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
