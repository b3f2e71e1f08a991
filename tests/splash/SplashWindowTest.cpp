#include "splash/SplashWindow.h"

#include "platform/MessageBox.h"
#include "platform/RegistryStore.h"
#include "platform/SplashMessage.h"
#include "platform/SplashMessageServer.h"
#include "splash/UpdateInstaller.h"

#include "SplashTestKit.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include <csignal>

namespace fs = std::filesystem;
using platform::SplashMessage;
using splash::SplashLauncher;
using splash::SplashWindow;
using splashtest::writeScript;

namespace {

template <class Done>
bool processUntil(Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

void writeBitmap(const fs::path& file, int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString(file.string()), "BMP"));
}

class SplashWindowTest : public splashtest::LauncherFixture {
protected:
    // The window should sit in the middle of the primary screen.
    static QPoint centred(QSize size)
    {
        const QRect area = QGuiApplication::primaryScreen()->geometry();
        return {area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2};
    }

    static void saveScreenshot(QWidget& window, const std::string& name)
    {
        const fs::path file = kovatest::binaryDir() / name;
        EXPECT_TRUE(window.grab().save(QString::fromStdString(file.string()), "PNG"));
    }

    int finished = 0;
};

} // namespace

TEST_F(SplashWindowTest, showsTheStationPictureInItsFrameCentred)
{
    kovatest::writeFile(launcher / "splash.ini", "[splash]\npicture=missing.bmp\n");
    SplashWindow window(makeLauncher(), [this] { ++finished; });
    EXPECT_TRUE(log.containsRun({"Loading custom picture", "missing.bmp", "Loading custom picture failed"}));

    ASSERT_EQ(window.picture().size(), QSize(410, 520));
    EXPECT_EQ(window.size(), QSize(410 + 10, 520 + 10));
    EXPECT_EQ(window.pos(), centred(window.size()));
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(window.timerActive());

    window.show();
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.pixelColor(5 + 200, 5 + 100), window.picture().pixelColor(200, 100));
    EXPECT_NE(shot.pixelColor(1, 1), window.picture().pixelColor(0, 0));
    saveScreenshot(window, "splash.png");
}

TEST_F(SplashWindowTest, customPictureSizesTheWindow)
{
    writeBitmap(work / "picture.bmp", 300, 200, QColor(0x20, 0x60, 0xA0));
    kovatest::writeFile(launcher / "splash.ini", "[Splash]\nPicture = \"picture.bmp\"\n");
    SplashWindow window(makeLauncher(), [this] { ++finished; });

    EXPECT_EQ(window.size(), QSize(310, 210));
    EXPECT_EQ(window.pos(), centred(window.size()));
    window.show();
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(0x20, 0x60, 0xA0));
    EXPECT_EQ(shot.pixelColor(304, 204), QColor(0x20, 0x60, 0xA0));
    EXPECT_NE(shot.pixelColor(305, 205), QColor(0x20, 0x60, 0xA0));
    saveScreenshot(window, "splash-custom.png");
}

TEST_F(SplashWindowTest, logoSitsOverTheStationPicture)
{
    // The default logo file, relative to the working directory.
    writeBitmap(work / "logo.bmp", 120, 120, QColor(0xD0, 0x20, 0x20));
    fs::create_directories(work / "customization");
    fs::copy_file(work / "logo.bmp", work / "customization/logo_template.bmp");
    SplashWindow window(makeLauncher(), [this] { ++finished; });
    EXPECT_TRUE(log.contains("Loading custom logo succeded"));
    window.show();
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.pixelColor(50, 370), QColor(0xD0, 0x20, 0x20));
    EXPECT_EQ(shot.pixelColor(129, 449), QColor(0xD0, 0x20, 0x20));
    EXPECT_NE(shot.pixelColor(131, 451), QColor(0xD0, 0x20, 0x20));
    saveScreenshot(window, "splash-logo.png");
}

TEST_F(SplashWindowTest, aClickHidesAndTheTimerEndsItWithTheMainProgram)
{
    writeScript(launcher / "KOVA_CPR", "sleep 0.3\n");
    SplashWindow window(makeLauncher(), [this] { ++finished; });
    window.show();
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &release);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(log.contains("Hide dialog, ( childProcessIsIdle == false )"));

    ASSERT_TRUE(processUntil([&] { return finished > 0; }));
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(window.timerActive());
    EXPECT_TRUE(log.contains("CreateProcess succes: \"KOVA_CPR\""));
    EXPECT_EQ(log.lines.back(), "Child is dead");
}

TEST_F(SplashWindowTest, closeMessageOverTheSocketEndsTheSplash)
{
    writeScript(launcher / "KOVA_CPR", "sleep 10\n");
    SplashWindow window(makeLauncher(), [this] { ++finished; });
    int received = 0;
    platform::SplashMessageServer server([&](const SplashMessage& message) {
        ++received;
        window.closeMessage(message);
    });
    const std::string name = (root.path() / "socket").string();
    ASSERT_TRUE(server.listen(name)) << server.errorText();
    window.show();
    ASSERT_TRUE(processUntil([&] { return launcherUnderTest->child().has_value(); }));

    EXPECT_TRUE(SplashMessage::sendTo(name, {0, 0}));
    ASSERT_TRUE(processUntil([&] { return received == 1; }));
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(window.timerActive());
    EXPECT_TRUE(SplashMessage::sendTo(name, {SplashMessage::CLOSE, 0}));
    ASSERT_TRUE(processUntil([&] { return finished > 0; }));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.timerActive());
    EXPECT_EQ(log.lines.back(), "SPLASH_MESSAGE_ID_CLOSE, EndDialog");
}
