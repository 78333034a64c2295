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
    const QStringList giveP3 = {"click " + p3Top, "press giveParameterButton"};
    QTest::newRow("click picks a band") << QStringList {"click " + p3Top}
                                        << QStringList {p3Top + "pickColor", p1Left + "pickColor"}
                                        << "P3 top picked, its parameter is 1 (none)";
    QTest::newRow("give a parameter, unpick: the band keeps it")
            << giveP3 + QStringList {"click " + p3Top} << QStringList {p3Top + "paramColor"}
            << "P3 top unpicked, its parameter is 3";
    QTest::newRow("reset parameters, unpick all")
            << giveP3 + QStringList {"press resetParametersButton", "press unpickButton"}
            << QStringList {p3Top + "freeColor", p1Left + "freeColor"} << QString();

    // Corners of S1 (10, 6), S4 (364, 6) and S7 (246, 102), clear of the labels; S7 starts
    // hovered. The mouse passes over S7 on its way, as a hand would.
    const QString s1 = "simpleItem 18 14 ", s4 = "simpleItem 372 14 ", s7 = "simpleItem 254 110 ";
    QTest::newRow("select one box, hover another")
            << QStringList {"move " + s1, "click " + s1, "move " + s7, "move " + s4}
            << QStringList {s1 + "selectedColor", s4 + "hoverColor", s7 + "simpleFillColor"}
            << QString();

    // D1 at (14, 10), b 5: top-left marker centred near (39, 22). D2 at (172, 10) has no left
    // markers.
    const QString d1Marker = "dviItem 39 22 ", d1Label = "dviItem 64 88 ",
                  d2Left = "dviItem 184 35 ";
    QTest::newRow("markers and labels switched off")
            << QStringList {"press markersSwitch", "press labelsSwitch"}
            << QStringList {d1Marker + "fillColor", d1Label + "noink"} << QString();
    QTest::newRow("click near a side adds its markers")
            << QStringList {"click dviItem 182 100"}
            << QStringList {d2Left + "markerColor", d1Label + "ink"} << QString();

    // Spots where no record is painted show the fill colour; restyling reaches every family.
    QTest::newRow("new fill colour, restyle")
            << QStringList {"press fillButton", "press restyleButton"}
            << QStringList {"parameterItem 5 100 fillColor*",
                            "dviItem 5 100 fillColor*",
                            "simpleItem 4 50 fillColor*",
                            "shapeItem 4 100 fillColor*",
                            p1Left + "pickColor*",
                            s7 + "hoverColor*",
                            d1Marker + "markerColor*"}
            << QString();

    // Each clear button empties its family (lines: their filled path); Refill brings all back.
    const QVector<QPair<QString, QString>> families = {{"clearParameterButton", p1Left},
                                                       {"clearDviButton", d1Marker},
                                                       {"clearSimpleButton", "simpleItem 136 14 "},
                                                       {"clearRectButton", "shapeItem 30 30 "},
                                                       {"clearEllipseButton", "shapeItem 230 57 "},
                                                       {"clearLineButton", "shapeItem 420 150 "}};
    QStringList clears, cleared, painted;
    for (const auto &[button, spot] : families) {
        clears << "press " + button;
        cleared << spot + "fillColor";
        painted << spot + "!fillColor";
    }
    QTest::newRow("each clear button") << clears << cleared << QString();
    QTest::newRow("clear all") << QStringList {"press clearAllButton"} << cleared << QString();
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
