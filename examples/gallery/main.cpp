#include "gallery_types.h"

#include <QtCore/QCommandLineParser>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtQuick/QQuickItem>
#include <QtQuick/QQuickItemGrabResult>
#include <QtQuick/QQuickView>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const QSize defaultSize(1024, 640);
constexpr int screenshotTimeoutMs = 20000;

// --screenshot and --export render once, without a display.
bool rendersOnce(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0
            || std::strncmp(argv[i], "--screenshot=", 13) == 0
            || std::strcmp(argv[i], "--export") == 0 || std::strncmp(argv[i], "--export=", 9) == 0)
            return true;
    }
    return false;
}

QSize parseSize(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2)
        return {};
    bool widthOk = false, heightOk = false;
    const QSize size(parts[0].toInt(&widthOk), parts[1].toInt(&heightOk));
    if (!widthOk || !heightOk || size.width() < 1 || size.height() < 1 || size.width() > 8192
        || size.height() > 8192)
        return {};
    return size;
}

void fail(const QString &message)
{
    std::fprintf(stderr, "gallery: %s\n", qPrintable(message));
    QCoreApplication::exit(1);
}

// Grabs the root item rather than the window: under the offscreen platform with the software
// backend, QQuickWindow::grabWindow() gives an empty image, while an item grab renders.
void saveScreenshotOnceRendered(QQuickView *view, const QString &fileName)
{
    auto firstFrame = std::make_shared<QMetaObject::Connection>();
    *firstFrame = QObject::connect(view, &QQuickWindow::frameSwapped, view, [=] {
        QObject::disconnect(*firstFrame);
        const QSharedPointer<QQuickItemGrabResult> grab =
                view->rootObject()->grabToImage(view->size());
        if (!grab)
            return fail(QStringLiteral("cannot grab the scene"));
        QObject::connect(grab.data(), &QQuickItemGrabResult::ready, view, [grab, fileName] {
            if (!grab->image().save(fileName))
                return fail(QStringLiteral("cannot write %1").arg(fileName));
            QCoreApplication::exit(0);
        });
    });
}

// Once the scene is laid out and filled, saves one of its items through the scene's own
// exportItem(), the Export button's.
void exportOnceRendered(QQuickView *view, const QString &itemName, const QString &fileName)
{
    auto firstFrame = std::make_shared<QMetaObject::Connection>();
    *firstFrame = QObject::connect(view, &QQuickWindow::frameSwapped, view, [=] {
        QObject::disconnect(*firstFrame);
        QObject *item = view->rootObject()->findChild<QQuickItem *>(itemName);
        if (!item)
            return fail(QStringLiteral("the scene has no item %1").arg(itemName));
        QVariant answer;
        QMetaObject::invokeMethod(view->rootObject(), "exportItem", Q_RETURN_ARG(QVariant, answer),
                                  Q_ARG(QVariant, QVariant::fromValue(item)),
                                  Q_ARG(QVariant, fileName));
        if (!answer.toString().isEmpty())
            return fail(answer.toString());
        QCoreApplication::exit(0);
    });
}

} // namespace

int main(int argc, char **argv)
{
    // A screenshot or an export needs no display: unless told otherwise, render offscreen in
    // software, which also makes the picture the same on every machine. Without a display the
    // window cannot open, but --help and the hint below still work offscreen.
    const bool once = rendersOnce(argc, argv);
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY")
            && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const bool platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!platformChosen && (once || noDisplay))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (once && qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");

    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gallery"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
            QStringLiteral("Shows every family of Bll_Painted_Item in an interactive scene."));
    parser.addHelpOption();
    const QCommandLineOption screenshotOption(
            QStringLiteral("screenshot"),
            QStringLiteral("Render the scene once into <file> (PNG) and exit."),
            QStringLiteral("file"));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Scene size, default 1024x640."),
                                        QStringLiteral("WxH"));
    const QCommandLineOption exportOption(
            QStringLiteral("export"),
            QStringLiteral("Save one item of the scene into <file> and exit: .png or .jpg (at "
                           "twice its size), .pdf or .svg."),
            QStringLiteral("file"));
    const QCommandLineOption itemOption(
            QStringLiteral("item"),
            QStringLiteral("The item --export saves: parameterItem (the default), dviItem, "
                           "simpleItem or shapeItem."),
            QStringLiteral("name"), QStringLiteral("parameterItem"));
    const QCommandLineOption pageOption(
            QStringLiteral("page"),
            QStringLiteral("The page shown: families (the default) or plan (a million boxes in "
                           "a view that zooms and pans)."),
            QStringLiteral("name"), QStringLiteral("families"));
    parser.addOption(pageOption);
    parser.addOption(screenshotOption);
    parser.addOption(sizeOption);
    parser.addOption(exportOption);
    parser.addOption(itemOption);
    parser.process(app);

    if (!once && !platformChosen && noDisplay) {
        std::fprintf(stderr,
                     "gallery: no display to open a window on; "
                     "gallery --screenshot FILE.png renders the scene into a picture\n");
        return 1;
    }

    QSize size = defaultSize;
    if (parser.isSet(sizeOption)) {
        size = parseSize(parser.value(sizeOption));
        if (size.isEmpty()) {
            std::fprintf(stderr, "gallery: --size wants WxH, for example 1024x640\n");
            return 2;
        }
    }

    const QUrl page = gallerySceneUrl(parser.value(pageOption));
    if (page.isEmpty()) {
        std::fprintf(stderr, "gallery: --page wants families or plan\n");
        return 2;
    }

    registerGalleryTypes();
    QQuickView view;
    view.setTitle(QStringLiteral("Bll_Painted_Item gallery"));
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setSource(page);
    if (view.status() != QQuickView::Ready || !view.rootObject())
        return 1; // QQmlEngine has already printed why
    view.resize(size);

    if (parser.isSet(screenshotOption))
        saveScreenshotOnceRendered(&view, parser.value(screenshotOption));
    else if (parser.isSet(exportOption))
        exportOnceRendered(&view, parser.value(itemOption), parser.value(exportOption));
    if (once) {
        QTimer::singleShot(screenshotTimeoutMs, &view,
                           [] { fail(QStringLiteral("the scene was never rendered")); });
    }
    view.show();
    return app.exec();
}
