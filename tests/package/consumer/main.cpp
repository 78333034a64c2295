// A host application in miniature: it sees only the installed header and library.
#include <bll_painted_item.h>
#include <bll_painted_item_saving.h>

#include <QtCore/QMetaObject>
#include <QtGui/QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);

    Bll_Painted_Item item;
    item.addBoxF(QStringLiteral("box"), 10, 20, 100, 50, 4);
    const QVariantMap pickTop {{QStringLiteral("topBorder"), true}};
    double param = 0;
    // As QML calls it: through the exported meta-object.
    const bool invoked = QMetaObject::invokeMethod(&item, "updateBoxF", Q_RETURN_ARG(double, param),
                                                   Q_ARG(QString, QStringLiteral("box")),
                                                   Q_ARG(QVariantMap, pickTop));
    const QColor red = Bll_Painted_Item::getTransformColor(7);
    // An item without a size has nothing to save, and says so.
    const bool refused = !BllExport::save(&item, QStringLiteral("consumer.pdf")).isEmpty();

    if (!invoked || param != 1.0 || red != QColor(Qt::red) || !refused) {
        std::fprintf(stderr, "consumer: invoked %d, param %g, colour %s\n", invoked, param,
                     qPrintable(red.name()));
        return 1;
    }
    std::puts("consumer: the installed package works");
    return 0;
}
