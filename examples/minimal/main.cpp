// A window with one box of each family of Bll_Painted_Item (main.qml).
#include <bll_painted_item.h>

#include <QtGui/QGuiApplication>
#include <QtQml/QQmlApplicationEngine>
#include <QtQml/qqml.h>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    // The library registers nothing: the application gives the item its QML name.
    qmlRegisterType<Bll_Painted_Item>("Minimal", 1, 0, "BllPaintedItem");
    QQmlApplicationEngine engine(QUrl(QStringLiteral("qrc:/main.qml")));
    if (engine.rootObjects().isEmpty())
        return 1; // the engine has printed why
    return app.exec();
}
