#include "gallery_types.h"
#include "quick_render.h"

#include <QtQml/QQmlComponent>
#include <QtQml/QQmlExpression>
#include <QtQuick/QQuickView>
#include <QtTest/QtTest>

// The item as QML sees it: registered as a host registers it, called from JavaScript with
// JavaScript values (numbers, strings, objects as option maps, Qt.rgba colours), then rendered
// by Qt Quick and looked at pixel by pixel, away from antialiased edges.
using Probes = QVector<QPair<QPoint, QColor>>;

class tst_QmlApi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerGalleryTypes(); }
    void paintsWhatJavaScriptAsked_data();
    void paintsWhatJavaScriptAsked();
};

// Runs `script` in a 240x160 white scene filled by one item named `item`, and renders it.
QImage runInScene(const QString &itemType, const QString &script, QVariant *result = nullptr)
{
    QQuickView view;
    QQmlComponent component(view.engine());
    component.setData(QStringLiteral("import QtQuick 2.15; import Bll.PaintedItem 1.0\n"
                                     "Rectangle { width: 240; height: 160; color: 'white'\n"
                                     "    %1 { id: item; anchors.fill: parent } }")
                              .arg(itemType)
                              .toUtf8(),
                      QUrl());
    auto *scene = qobject_cast<QQuickItem *>(component.create());
    if (!scene)
        qFatal("%s", qPrintable(component.errorString()));
    scene->setParent(&view);
    scene->setParentItem(view.contentItem());
    view.resize(240, 160);
    view.show();
    QQmlExpression expression(qmlContext(scene), scene, "(function () { " + script + " })()");
    const QVariant value = expression.evaluate();
    if (expression.hasError())
        qWarning("%s", qPrintable(expression.error().toString()));
    if (result)
        *result = expression.hasError() ? QVariant("error") : value;
    return QTest::qWaitForWindowExposed(&view) ? renderItem(scene) : QImage();
}

void tst_QmlApi::paintsWhatJavaScriptAsked_data()
{
    QTest::addColumn<QString>("itemType");
    QTest::addColumn<QString>("script");
    QTest::addColumn<Probes>("probes");
    const QColor white(Qt::white), red(Qt::red), blue(Qt::blue), grey(0xc0, 0xc0, 0xc0),
            orange(0xff, 0x80, 0x00), darkGreen(0x00, 0x80, 0x00);

    // One 200x120 box with 24-wide bands; every probe sits in the middle of a band.
    const QString parameterBox = QStringLiteral(
            "item.setBoxStyle({ brushColor: '#c0c0c0', pickBorderColor: Qt.rgba(1, 0.5, 0, 1),"
            "                   paramBorderColor: 'blue', pickParamBorderColor: 7 });"
            "item.addBoxF('p', 20, 20, 200, 120, 24);"
            "item.updateBoxF('p', { topBorder: true, rightBorder: true });"
            "item.updateBoxParamF({ currentParam: 3 });"
            "item.updateBoxF('p', { rightBorder: false });"
            "item.updateBoxF('p', { leftBorder: 1 });");
    const QPoint top(120, 32), bottom(120, 128), left(32, 80), right(208, 80);
    QTest::newRow("parameter bands: picked+param, picked, param, free")
            << "BllPaintedItem" << parameterBox
            << Probes {{top, red}, {left, orange}, {right, blue}, {bottom, grey}};
    QTest::newRow("simple boxes filled by state, fill colour behind")
            << "BllPaintedItem"
            << "item.setBoxSimpleStyle({ brushColor: 'white', isHoverColor: 'yellow',"
               "    isSelectedColor: Qt.rgba(0, 0.5, 0, 1), fillColor: '#000080' });"
               "item.addBoxSimpleF('plain', 10, 10, 60, 60);"
               "item.addBoxSimpleF('hovered', 90, 10, 60, 60);"
               "item.addBoxSimpleF('selected', 170, 10, 60, 60);"
               "item.addBoxSimpleF('both', 10, 90, 60, 60);"
               "item.updateBoxSimpleF('hovered', { isHover: true });"
               "item.updateBoxSimpleF('selected', { isSelected: true });"
               "item.updateBoxSimpleF('both', { isHover: 2, isSelected: 'true' });"
            << Probes {{{16, 16}, white},
                       {{96, 16}, QColor(Qt::yellow)},
                       {{176, 16}, darkGreen},
                       {{16, 96}, darkGreen},
                       {{150, 130}, QColor(0, 0, 0x80)}};

    // Markers of a box at (20, 20) with b = 6: the top-left one has its centre near (50, 34).
    QTest::newRow("DVI markers on the sides switched on")
            << "BllPaintedItem"
            << "item.setBoxDVIStyle({ brushColor: 'red' });"
               "item.addBoxDVIF('d', 20, 20, 200, 120, 6);"
               "item.updateBoxDVIF('d', { topBorder: true, leftBorder: true });"
            << Probes {{{50, 34}, red}, {{34, 50}, red}, {{206, 50}, white}};
    QTest::newRow("fill colour from setBoxDVIFillColor, last call wins")
            << "BllPaintedItem"
            << "item.setBoxStyle({ fillColor: 'red' }); item.setBoxSimpleStyle({ fillColor: 'red' "
               "});"
               "item.setBoxDVIFillColor(Qt.rgba(0, 0, 1, 1));"
            << Probes {{{5, 5}, blue}, {{200, 150}, blue}};

    // Only a derived item paints shapes; the four-argument addRectF takes the family style.
    const QString shapes = QStringLiteral(
            "item.setRectStyle({ brushColor: '#00ff00' });"
            "item.addRectF(20, 20, 80, 60);"
            "item.addRectF(120, 20, 80, 60, { brushColor: 'blue', color: 'red', width: 3 });"
            "item.addEllipseF(130, 90, 80, 60, { brushColor: Qt.rgba(0, 1, 1, 1) });"
            "item.setLineStyle({ brushColor: 'magenta' });"
            "item.addLineF(20, 150, 60, 100);"
            "item.addLineF(60, 100, 100, 150);");
    QTest::newRow("shapes painted by the derived item")
            << "BllShapePaintedItem" << shapes
            << Probes {{{60, 50}, QColor(Qt::green)},
                       {{160, 50}, blue},
                       {{120, 50}, red},
                       {{170, 120}, QColor(Qt::cyan)},
                       {{60, 135}, QColor(Qt::magenta)}};
    // updateBoxF answers a JavaScript number: the parameter of the last side named, else 1.
    QTest::newRow("updateBoxF answers")
            << "BllPaintedItem"
            << "item.addBoxF('p', 0, 0, 100, 100, 10);"
               "var answers = [typeof item.updateBoxF('p', { topBorder: true })];"
               "item.updateBoxParamF({ currentParam: '2.5' });"
               "answers.push(item.updateBoxF('p', { topBorder: false }));"
               "answers.push(item.updateBoxF('p', { topBorder: 1, bottomBorder: true }));"
               "answers.push(item.updateBoxF('p', {}), item.updateBoxF('nowhere', { topBorder: 1 "
               "}));"
               "answers.push(typeof item.clearAll(), item.updateBoxF('p', { topBorder: true }));"
               "return answers.join(' ');"
            << Probes();
}

void tst_QmlApi::paintsWhatJavaScriptAsked()
{
    QFETCH(QString, itemType);
    QFETCH(QString, script);
    QFETCH(Probes, probes);

    QVariant result;
    const QImage image = runInScene(itemType, script, &result);
    if (probes.isEmpty()) // the script answers
        QCOMPARE(result.toString(), QStringLiteral("number 2.5 1 1 1 undefined 1"));
    QVERIFY(!result.toString().startsWith("error"));
    for (const auto &[at, expected] : qAsConst(probes)) {
        const QString mismatch = pixelMismatch(image, at, expected);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }
}

QTEST_MAIN(tst_QmlApi)
#include "tst_qml_api.moc"
