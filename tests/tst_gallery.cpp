#include "gallery_types.h"
#include "quick_render.h"

#include <QtQuick/QQuickView>
#include <QtTest/QtTest>

// The gallery's scene driven with simulated mouse input, as a person would use it, and checked
// by what Qt Quick renders: each row proves that one control reaches the item. Actions are
// "click <item> x y", "move <item> x y" or "press <control>"; spots are "<item> x y <colour>"
// where the pixel shows the scene's colour property, "!<colour>" anything else, "<colour>*"
// and the property changed; "<item> x y ink" a 40x24 area holds a label.
class tst_Gallery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerGalleryTypes(); }

    void personUsingTheGallery_data()
    {
        QTest::addColumn<QString>("actions"); // separated by "; ", as the spots
        QTest::addColumn<QString>("spots");
        QTest::addColumn<QString>("status");

        // P1 at (10, 10) has its left band picked; P3 at (330, 10) has 20-wide bands.
        const QString p3Top = "parameterItem 400 20", p1Left = "parameterItem 24 100";
        QTest::newRow("click picks a band") << "click " + p3Top << p3Top + " pickColor"
                                            << "P3 top picked, its parameter is 1 (none)";
        QTest::newRow("give a parameter, unpick: the band keeps it")
                << "click " + p3Top + "; press giveParameterButton; click " + p3Top
                << p3Top + " paramColor"
                << "P3 top unpicked, its parameter is 3";
        QTest::newRow("unpick all") << "press unpickButton" << p1Left + " freeColor" << QString();

        // Corners of S1 (10, 6), S4 (364, 6) and S7 (246, 102), clear of the labels; S7 starts
        // hovered. The mouse passes over S7 on its way, as a hand would.
        QTest::newRow("select one box, hover another")
                << "move simpleItem 18 14; click simpleItem 18 14; move simpleItem 254 110;"
                   "move simpleItem 372 14"
                << "simpleItem 18 14 selectedColor; simpleItem 372 14 hoverColor;"
                   "simpleItem 254 110 simpleFillColor"
                << QString();

        // D1 at (14, 10), b 5: top-left marker centred near (39, 22). D2 at (172, 10) has no
        // left markers until a click near its left side.
        QTest::newRow("markers off, labels off and a click near a side")
                << "press markersSwitch; press labelsSwitch; press markersSwitch;"
                   "click dviItem 182 100"
                << "dviItem 39 22 markerColor; dviItem 184 35 markerColor; dviItem 64 88 !ink"
                << QString();

        // Spots where no record is painted show the fill colour; restyling reaches every family.
        QTest::newRow("new fill colour, restyle")
                << "press fillButton; press restyleButton"
                << "parameterItem 5 100 fillColor*; dviItem 5 100 fillColor*;"
                   "simpleItem 4 50 fillColor*; shapeItem 4 100 fillColor*;"
                   "parameterItem 24 100 pickColor*; simpleItem 254 110 hoverColor*;"
                   "dviItem 39 22 markerColor*"
                << QString();

        // Each clear button empties its family (lines: their filled path); Refill brings all
        // back.
        const QString spots = "parameterItem 24 100 %1; dviItem 39 22 %1; simpleItem 136 14 %1;"
                              "shapeItem 30 30 %1; shapeItem 230 57 %1; shapeItem 420 150 %1";
        QTest::newRow("each clear button")
                << "press clearParameterButton; press clearDviButton; press clearSimpleButton;"
                   "press clearRectButton; press clearEllipseButton; press clearLineButton"
                << spots.arg("fillColor") << QString();
        QTest::newRow("clear all, refill") << "press clearAllButton; press refillButton"
                                           << spots.arg("!fillColor") << QString();
    }

    void personUsingTheGallery()
    {
        QFETCH(QString, actions);
        QFETCH(QString, spots);
        QFETCH(QString, status);

        QQuickView view;
        view.setResizeMode(QQuickView::SizeRootObjectToView);
        view.setSource(gallerySceneUrl());
        QVERIFY2(view.status() == QQuickView::Ready, "the gallery scene does not load");
        view.resize(1024, 640);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QObject *scene = view.rootObject();
        const auto point = [&](const QStringList &words) {
            auto *item = scene->findChild<QQuickItem *>(words[0]);
            if (!item)
                qFatal("no item %s", qPrintable(words[0]));
            const QPointF centre(item->width() / 2, item->height() / 2);
            return item
                    ->mapToScene(words.size() < 3
                                         ? centre
                                         : QPointF(words[1].toDouble(), words[2].toDouble()))
                    .toPoint();
        };
        const auto colour = [&](QString name) {
            return scene->property(qPrintable(name.remove('!').remove('*'))).value<QColor>();
        };
        const QStringList spotList = spots.split(QRegularExpression(";\\s*"));
        QVector<QColor> before;
        for (const QString &spot : spotList)
            before << colour(spot.section(' ', 3));

        for (const QString &action : actions.split(QRegularExpression(";\\s*"))) {
            const QStringList words = action.split(' ');
            if (words[0] == "move")
                QTest::mouseMove(&view, point(words.mid(1)));
            else
                QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, point(words.mid(1)));
            renderItem(view.rootObject()); // lets the scene take in the event, as a person waits
        }

        const QImage image = renderItem(view.rootObject());
        for (int i = 0; i < spotList.size(); ++i) {
            const QStringList s = spotList[i].split(' ');
            const QPoint at = point(s);
            const bool other = s[3].startsWith('!');
            if (s[3].endsWith("ink")) { // pixels unlike the fill colour: a label leaves dozens
                int ink = 0;
                for (int y = at.y(); y < at.y() + 24; ++y)
                    for (int x = at.x(); x < at.x() + 40; ++x)
                        ink += !pixelMismatch(image, {x, y}, colour("fillColor")).isEmpty();
                QVERIFY2((ink > 20) != other, qPrintable(spotList[i]));
                continue;
            }
            const QColor expected = colour(s[3]);
            QVERIFY2(expected.isValid(), qPrintable(spotList[i]));
            QVERIFY2(!s[3].endsWith('*') || expected != before[i],
                     qPrintable(spotList[i] + " same"));
            const QString mismatch = pixelMismatch(image, at, expected);
            QVERIFY2(mismatch.isEmpty() != other, qPrintable(spotList[i] + ": " + mismatch));
        }
        if (!status.isEmpty())
            QCOMPARE(scene->property("status").toString(), status);
    }
};

QTEST_MAIN(tst_Gallery)
#include "tst_gallery.moc"
