#include "gallery_types.h"
#include "quick_render.h"

#include <QtQml/QQmlComponent>
#include <QtQml/QQmlContext>
#include <QtQml/QQmlEngine>
#include <QtQml/QQmlExpression>
#include <QtQuick/QQuickView>
#include <QtTest/QtTest>

#include <memory>

// The item as QML sees it: registered as a host registers it, called from JavaScript with
// JavaScript values (numbers, strings, objects as option maps, Qt.rgba colours), then
// rendered by Qt Quick and looked at pixel by pixel, away from antialiased edges.
struct Probe
{
    QPoint at;
    QColor expected;
};
Q_DECLARE_METATYPE(QVector<Probe>)

class tst_QmlApi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void paintsWhatJavaScriptAsked_data();
    void paintsWhatJavaScriptAsked();
    void answersJavaScriptWithNumbers();

private:
    bool load(const QString &itemType);
    QVariant run(const QString &script);

    std::unique_ptr<QQuickView> m_view;
    QQuickItem *m_scene = nullptr;
    QString m_error;
};

void tst_QmlApi::initTestCase()
{
    registerGalleryTypes();
}

void tst_QmlApi::cleanup()
{
    m_view.reset();
    m_scene = nullptr;
}

// A 240x160 white scene filled by one item named `item`.
bool tst_QmlApi::load(const QString &itemType)
{
    m_view = std::make_unique<QQuickView>();
    QQmlComponent component(m_view->engine());
    component.setData(QStringLiteral("import QtQuick 2.15\n"
                                     "import Bll.Gallery 1.0\n"
                                     "Rectangle {\n"
                                     "    width: 240; height: 160; color: \"white\"\n"
                                     "    %1 { id: item; anchors.fill: parent }\n"
                                     "}\n")
                              .arg(itemType)
                              .toUtf8(),
                      QUrl());
    m_scene = qobject_cast<QQuickItem *>(component.create());
    if (!m_scene) {
        m_error = component.errorString();
        return false;
    }
    m_scene->setParent(m_view.get());
    m_scene->setParentItem(m_view->contentItem());
    m_view->resize(240, 160);
    m_view->show();
    return QTest::qWaitForWindowExposed(m_view.get());
}

// Runs JavaScript in the scene's context, where `item` names the item.
QVariant tst_QmlApi::run(const QString &script)
{
    QQmlExpression expression(qmlContext(m_scene), m_scene,
                              QStringLiteral("(function () { %1 })()").arg(script));
    const QVariant result = expression.evaluate();
    m_error = expression.hasError() ? expression.error().toString() : QString();
    return result;
}

void tst_QmlApi::paintsWhatJavaScriptAsked_data()
{
    QTest::addColumn<QString>("itemType");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QVector<Probe>>("probes");

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
            << "BllPaintedItem" << parameterBox + QStringLiteral("item.update();")
            << QVector<Probe> {{top, red}, {left, orange}, {right, blue}, {bottom, grey}};
    QTest::newRow("parameter bands after updateAllBoxParamF(1) and updateAllBoxF")
            << "BllPaintedItem"
            << parameterBox
                    + QStringLiteral("item.updateAllBoxParamF({ currentParam: 1 });"
                                     "item.updateAllBoxF({ leftBorder: false });"
                                     "item.update();")
            << QVector<Probe> {{top, orange}, {left, grey}, {right, grey}, {bottom, grey}};

    QTest::newRow("simple boxes filled by state, fill colour behind")
            << "BllPaintedItem"
            << QStringLiteral("item.setBoxSimpleStyle({ brushColor: 'white',"
                              "    isHoverColor: 'yellow', isSelectedColor: Qt.rgba(0, 0.5, 0, 1),"
                              "    fillColor: '#000080' });"
                              "item.addBoxSimpleF('plain', 10, 10, 60, 60);"
                              "item.addBoxSimpleF('hovered', 90, 10, 60, 60);"
                              "item.addBoxSimpleF('selected', 170, 10, 60, 60);"
                              "item.addBoxSimpleF('both', 10, 90, 60, 60);"
                              "item.updateBoxSimpleF('hovered', { isHover: true });"
                              "item.updateBoxSimpleF('selected', { isSelected: true });"
                              "item.updateBoxSimpleF('both', { isHover: 2, isSelected: 'true' });"
                              "item.update();")
            << QVector<Probe> {{{16, 16}, white},
                               {{96, 16}, QColor(Qt::yellow)},
                               {{176, 16}, darkGreen},
                               {{16, 96}, darkGreen},
                               {{150, 130}, QColor(0, 0, 0x80)}};

    // Markers of a box at (20, 20) with b = 6: the top-left one has its centre near (50, 34).
    const QString dviBox = QStringLiteral("item.setBoxDVIStyle({ brushColor: 'red' });"
                                          "item.addBoxDVIF('d', 20, 20, 200, 120, 6);"
                                          "item.updateBoxDVIF('d', { topBorder: true,"
                                          "                          leftBorder: true });");
    QTest::newRow("DVI markers on the sides switched on")
            << "BllPaintedItem" << dviBox + QStringLiteral("item.update();")
            << QVector<Probe> {{{50, 34}, red}, {{34, 50}, red}, {{206, 50}, white}};
    QTest::newRow("DVI markers off with showBorder false")
            << "BllPaintedItem"
            << dviBox
                    + QStringLiteral("item.updateAllBoxDVIF({ showBorder: false }); item.update();")
            << QVector<Probe> {{{50, 34}, white}, {{34, 50}, white}};

    QTest::newRow("fill colour from setBoxStyle")
            << "BllPaintedItem"
            << QStringLiteral("item.setBoxStyle({ fillColor: '#00ff00' }); item.update();")
            << QVector<Probe> {{{5, 5}, QColor(Qt::green)}, {{200, 150}, QColor(Qt::green)}};
    QTest::newRow("fill colour from setBoxDVIFillColor, last call wins")
            << "BllPaintedItem"
            << QStringLiteral("item.setBoxSimpleStyle({ fillColor: 'red' });"
                              "item.setBoxDVIFillColor(Qt.rgba(0, 0, 1, 1)); item.update();")
            << QVector<Probe> {{{5, 5}, blue}};

    // Only a derived item paints shapes; the four-argument addRectF takes the family style.
    const QString shapes = QStringLiteral(
            "item.setRectStyle({ brushColor: '#00ff00' });"
            "item.addRectF(20, 20, 80, 60);"
            "item.addRectF(120, 20, 80, 60, { brushColor: 'blue', color: 'red', width: 3 });"
            "item.addEllipseF(130, 90, 80, 60, { brushColor: Qt.rgba(0, 1, 1, 1) });"
            "item.setLineStyle({ brushColor: 'magenta' });"
            "item.addLineF(20, 150, 60, 100);"
            "item.addLineF(60, 100, 100, 150);"
            "item.update();");
    QTest::newRow("shapes painted by the derived item")
            << "ShapePaintedItem" << shapes
            << QVector<Probe> {{{60, 50}, QColor(Qt::green)},
                               {{160, 50}, blue},
                               {{120, 50}, red},
                               {{170, 120}, QColor(Qt::cyan)},
                               {{60, 135}, QColor(Qt::magenta)}};
    QTest::newRow("shapes not painted by the item itself")
            << "BllPaintedItem" << shapes
            << QVector<Probe> {{{60, 50}, white}, {{160, 50}, white}, {{170, 120}, white}};
}

void tst_QmlApi::paintsWhatJavaScriptAsked()
{
    QFETCH(QString, itemType);
    QFETCH(QString, script);
    QFETCH(QVector<Probe>, probes);

    QVERIFY2(load(itemType), qPrintable(m_error));
    run(script);
    QVERIFY2(m_error.isEmpty(), qPrintable(m_error));

    const QImage image = renderItem(m_scene);
    QVERIFY(!image.isNull());
    for (const Probe &probe : qAsConst(probes)) {
        const QString mismatch = pixelMismatch(image, probe.at, probe.expected);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }
}

void tst_QmlApi::answersJavaScriptWithNumbers()
{
    QVERIFY2(load(QStringLiteral("BllPaintedItem")), qPrintable(m_error));
    const QVariant answers =
            run(QStringLiteral("item.addBoxF('p', 0, 0, 100, 100, 10);"
                               "var answers = [typeof item.updateBoxF('p', { topBorder: true })];"
                               "item.updateBoxParamF({ currentParam: '2.5' });"
                               "answers.push(item.updateBoxF('p', { topBorder: false }));"
                               "answers.push(item.updateBoxF('p', {}));"
                               "answers.push(item.updateBoxF('nowhere', { topBorder: true }));"
                               "answers.push(typeof item.clearAll());"
                               "answers.push(item.updateBoxF('p', { topBorder: true }));"
                               "return answers;"));
    QVERIFY2(m_error.isEmpty(), qPrintable(m_error));
    QCOMPARE(answers.toList(),
             QVariantList(
                     {QStringLiteral("number"), 2.5, 1.0, 1.0, QStringLiteral("undefined"), 1.0}));
}

QTEST_MAIN(tst_QmlApi)
#include "tst_qml_api.moc"
