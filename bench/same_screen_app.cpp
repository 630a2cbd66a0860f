// The start-up yardstick: FernWick's screen in stock Qt widgets, from the game's table and texts.
// --bare: only the window and the game's button (title, client size, button place and caption).
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <string_view>

#include "app/qt/convert.h"
#include "fernwick_icon_16_png.h"
#include "fernwick_icon_32_png.h"
#include "tests/design.h"

int main(int argc, char* argv[]) {
    using namespace fernwick;
    using namespace fernwick::design;
    using namespace fernwick::toggle;
    const bool bare = argc == 2 && std::string_view(argv[1]) == "--bare";
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(text(kControlTable.window.caption));
    window.resize(clientSize());
    auto* button = new QPushButton(text(kWelcomeCaption), &window);
    button->setGeometry(rect(Named::STARTBUTTON));
    if (bare) {
        window.show();
        return QApplication::exec();
    }

    QIcon icon;  // the icon file's two sizes; images read as their format alone, no other asked
    icon.addPixmap(QPixmap::fromImage(
        qt::readImage({fernwick_icon_16_png, fernwick_icon_16_png_size}, "png")));
    icon.addPixmap(QPixmap::fromImage(
        qt::readImage({fernwick_icon_32_png, fernwick_icon_32_png_size}, "png")));
    window.setWindowIcon(icon);

    auto* heading = new QLabel(text(kWelcomeHeading), &window);
    heading->setGeometry(rect(Named::HEADING));
    heading->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    heading->setWordWrap(true);
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(emPixels(kWelcomeHeadingPoints));
    font.setBold(true);
    heading->setFont(font);
    QPalette palette = heading->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
    heading->setPalette(palette);

    auto* dog = new QLabel(&window);
    dog->setGeometry(rect(Named::Picture1));
    dog->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    dog->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    dog->setPixmap(QPixmap::fromImage(
        qt::readImage(kControlTable.controls[Named::Picture1].picture->image, "gif")));

    bool won = false;
    QObject::connect(button, &QPushButton::clicked, [&] {
        const Screen screen = (won = !won) ? wonScreen() : welcomeScreen();
        heading->setText(QString(screen.heading).replace("\r\n", "\n"));
        font.setPixelSize(screen.headingPixels);
        heading->setFont(font);
        button->setText(screen.caption);
    });

    window.show();
    button->setFocus();
    return QApplication::exec();
}
