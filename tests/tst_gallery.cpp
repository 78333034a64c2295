#include "gallery_types.h"
#include "quick_render.h"

#include <QtQuick/QQuickView>
#include <QtTest/QtTest>

// The gallery's scene driven with simulated mouse input, as a person would use it, and checked
// by what Qt Quick renders. Each row runs actions, then looks at spots of the scene's items:
//   actions: "click <item> x y" | "move <item> x y" | "press <control>", in item coordinates;
//   spots:   "<item> x y <colour>": the pixel shows the scene's colour property, "!<colour>"
//            anything else, "<colour>*" the property also changed; "<item> x y ink|noink":
//            a 40x24 area holds a label or only the fill colour.
class tst_Gallery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerGalleryTypes(); }
    void personUsingTheGallery_data();
    void personUsingTheGallery();
};

void tst_Gallery::personUsingTheGallery_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("spots");
    QTest::addColumn<QString>("status");

    // P1 at (10, 10) has its left band picked; P3 at (330, 10) is 140x180 with 20-wide bands.
    const QString p3Top = "parameterItem 400 20 ", p1Left = "parameterItem 24 100 ";
    const QStringList pickP3 = {"click " + p3Top};
    QTest::newRow("bands at start")
            << QStringList() << QStringList {p3Top + "freeColor", p1Left + "pickColor"}
            << QString();
    QTest::newRow("click picks a band") << pickP3 << QStringList {p3Top + "pickColor"}
                                        << "P3 top picked, its parameter is 1 (none)";
    QTest::newRow("click again unpicks, the label picks nothing")
            << QStringList {"click " + p3Top, "click " + p3Top, "click parameterItem 400 100"}
            << QStringList {p3Top + "freeColor"} << QString();
    const QStringList giveP3 = pickP3 + QStringList {"press giveParameterButton"};
    QTest::newRow("give parameter")
            << giveP3 << QStringList {p3Top + "pickParamColor"} << QString();
    QTest::newRow("unpicked band keeps its parameter")
            << giveP3 + pickP3 << QStringList {p3Top + "paramColor"}
            << "P3 top unpicked, its parameter is 3";
    QTest::newRow("reset parameters")
            << giveP3 + pickP3 + QStringList {"press resetParametersButton"}
            << QStringList {p3Top + "freeColor", p1Left + "pickColor"} << QString();
    QTest::newRow("unpick all") << QStringList {"press unpickButton"}
                                << QStringList {p1Left + "freeColor"} << QString();

    // Corners of S1 (10, 6), S4 (364, 6) and S7 (246, 102), clear of the labels; S7 starts hovered.
    const QString s1 = "simpleItem 18 14 ", s4 = "simpleItem 372 14 ", s7 = "simpleItem 254 110 ";
    QTest::newRow("simple boxes at start")
            << QStringList() << QStringList {s1 + "simpleFillColor", s7 + "hoverColor"}
            << QString();
    QTest::newRow("hover") << QStringList {"move " + s1}
                           << QStringList {s1 + "hoverColor", s7 + "simpleFillColor"} << QString();
    // The mouse passes over S7 on its way, as a hand would.
    const QStringList select = {"move " + s1, "click " + s1, "move " + s7, "move " + s4};
    QTest::newRow("select, hover another")
            << select << QStringList {s1 + "selectedColor", s4 + "hoverColor"} << QString();
    QTest::newRow("unselect: the mouse is back over it")
            << select + QStringList {"click " + s1}
            << QStringList {s1 + "hoverColor", s4 + "simpleFillColor"} << QString();

    // D1 at (14, 10), b 5: top-left marker centred near (39, 22). D2 at (172, 10) has no left
    // markers.
    const QString d1Marker = "dviItem 39 22 ", d1Label = "dviItem 64 88 ",
                  d2Left = "dviItem 184 35 ";
    QTest::newRow("DVI at start") << QStringList()
                                  << QStringList {d1Marker + "markerColor", d1Label + "ink",
                                                  d2Left + "fillColor"}
                                  << QString();
    QTest::newRow("markers off") << QStringList {"press markersSwitch"}
                                 << QStringList {d1Marker + "fillColor", d1Label + "ink"}
                                 << QString();
    QTest::newRow("labels off, markers on again")
            << QStringList {"press markersSwitch", "press labelsSwitch", "press markersSwitch"}
            << QStringList {d1Marker + "markerColor", d1Label + "noink"} << QString();
    QTest::newRow("click near a side adds its markers")
            << QStringList {"click dviItem 182 100"} << QStringList {d2Left + "markerColor"}
            << QString();

    // Spots where no record is painted show the fill colour; restyling reaches every family.
    const QStringList background = {"parameterItem 5 100 fillColor*", "dviItem 5 100 fillColor*",
                                    "simpleItem 4 50 fillColor*", "shapeItem 4 100 fillColor*"};
    QTest::newRow("new fill colour") << QStringList {"press fillButton"} << background << QString();
    QTest::newRow("restyle") << QStringList {"press fillButton", "press restyleButton"}
                             << background
                    + QStringList {p1Left + "pickColor*", s7 + "hoverColor*",
                                   d1Marker + "markerColor*"}
                             << QString();

    // Each clear button empties its family (lines: their filled path); Refill brings all back.
    const QVector<QPair<QString, QString>> families = {{"clearParameterButton", p1Left},
                                                       {"clearDviButton", d1Marker},
                                                       {"clearSimpleButton", "simpleItem 136 14 "},
                                                       {"clearRectButton", "shapeItem 30 30 "},
                                                       {"clearEllipseButton", "shapeItem 230 57 "},
                                                       {"clearLineButton", "shapeItem 420 150 "},
                                                       {"clearAllButton", p1Left}};
    QStringList painted;
    for (const auto &[button, spot] : families) {
        QTest::newRow(qPrintable(button))
                << QStringList {"press " + button} << QStringList {spot + "fillColor"} << QString();
        painted << spot + "!fillColor";
    }
    QTest::newRow("all painted at start") << QStringList() << painted << QString();
    QTest::newRow("refill") << QStringList {"press clearAllButton", "press refillButton"} << painted
                            << QString();
}

void tst_Gallery::personUsingTheGallery()
{
    QFETCH(QStringList, actions);
    QFETCH(QStringList, spots);
    QFETCH(QString, status);

    QQuickView view;
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setSource(gallerySceneUrl());
    QVERIFY2(view.status() == QQuickView::Ready, "the gallery scene does not load");
    view.resize(1024, 640);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QObject *scene = view.rootObject();
    const auto point = [&](const QString &name, double x, double y) {
        QQuickItem *item = scene->findChild<QQuickItem *>(name);
        if (!item)
            qFatal("no item %s", qPrintable(name));
        return item
                ->mapToScene(x < 0 ? QPointF(item->width() / 2, item->height() / 2) : QPointF(x, y))
                .toPoint();
    };
    const auto colour = [&](QString name) {
        return scene->property(qPrintable(name.remove('!').remove('*'))).value<QColor>();
    };
    QVector<QColor> before;
    for (const QString &spot : spots)
        before << colour(spot.section(' ', 3));

    for (const QString &action : actions) {
        const QStringList a = action.split(' ');
        const QPoint at = point(a[1], a.size() > 2 ? a[2].toDouble() : -1, a.value(3).toDouble());
        if (a[0] == "move")
            QTest::mouseMove(&view, at);
        else
            QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, at);
        renderItem(view.rootObject()); // lets the scene take in the event, as a person waits
    }

    const QImage image = renderItem(view.rootObject());
    for (int i = 0; i < spots.size(); ++i) {
        const QString &spot = spots[i];
        const QStringList s = spot.split(' ');
        const QPoint at = point(s[0], s[1].toDouble(), s[2].toDouble());
        const bool other = s[3].startsWith('!'), changed = s[3].endsWith('*');
        if (s[3].endsWith("ink")) { // count pixels unlike the fill colour: a label leaves dozens
            int ink = 0;
            for (int y = at.y(); y < at.y() + 24; ++y)
                for (int x = at.x(); x < at.x() + 40; ++x)
                    ink += !pixelMismatch(image, {x, y}, colour("fillColor")).isEmpty();
            QVERIFY2(s[3] == "ink" ? ink > 20 : ink == 0, qPrintable(spot));
            continue;
        }
        const QColor expected = colour(s[3]);
        QVERIFY2(expected.isValid(), qPrintable(spot));
        QVERIFY2(!changed || expected != before[i], qPrintable(spot + " did not change"));
        const QString mismatch = pixelMismatch(image, at, expected);
        QVERIFY2(mismatch.isEmpty() != other, qPrintable(spot + ": " + mismatch));
    }
    if (!status.isEmpty())
        QCOMPARE(scene->property("status").toString(), status);
}

QTEST_MAIN(tst_Gallery)
#include "tst_gallery.moc"
