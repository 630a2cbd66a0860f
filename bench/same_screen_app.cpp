// The start-up yardstick: FernWick's screen in stock Qt widgets and image readers, from the game's
// control table and toggle texts. --bare: the least a Qt Widgets program does to show the window
// with the game's button (title, client size, button place and caption), and nothing else.
#include <QApplication>
#include <QBuffer>
#include <QFrame>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>
#include <cstddef>
#include <string_view>

#include "fernwick_icon_16_png.h"
#include "fernwick_icon_32_png.h"
#include "tests/design.h"

namespace {

// Read as the format named and no other: Qt would otherwise load every image plugin to ask.
QPixmap pixmap(const unsigned char* data, std::size_t size, const char* format) {
    QByteArray encoded =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&encoded);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QFont headingFont(int pixels) {
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace fernwick::toggle;
    using fernwick::design::rect, fernwick::design::text;
    const bool bare = argc == 2 && std::string_view(argv[1]) == "--bare";
    QApplication app(argc, argv);
    const fernwick::ControlTable& table = fernwick::kControlTable;
    QWidget window;
    window.setWindowTitle(text(table.window.caption));
    window.resize(fernwick::design::clientSize());
    auto* button = new QPushButton(text(kWelcomeCaption), &window);
    button->setGeometry(rect(u"STARTBUTTON"));
    if (bare) {
        window.show();
        return QApplication::exec();
    }

    QIcon icon;  // the two sizes of the game's icon file
    icon.addPixmap(pixmap(fernwick_icon_16_png, fernwick_icon_16_png_size, "png"));
    icon.addPixmap(pixmap(fernwick_icon_32_png, fernwick_icon_32_png_size, "png"));
    window.setWindowIcon(icon);

    auto* heading = new QLabel(text(kWelcomeHeading), &window);
    heading->setGeometry(rect(u"HEADING"));
    heading->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    heading->setWordWrap(true);
    heading->setFont(headingFont(fernwick::emPixels(kWelcomeHeadingPoints)));
    QPalette palette = heading->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
    heading->setPalette(palette);

    auto* dog = new QLabel(&window);
    dog->setGeometry(rect(u"Picture1"));
    dog->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    dog->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const fernwick::EmbeddedBytes gif = table.controls[fernwick::Named::Picture1].picture->image;
    dog->setPixmap(pixmap(gif.data, gif.size, "gif"));

    bool won = false;
    QObject::connect(button, &QPushButton::clicked, [&] {
        won = !won;
        heading->setText(text(won ? kWonHeading : kWelcomeHeading).replace("\r\n", "\n"));
        heading->setFont(
            headingFont(fernwick::emPixels(won ? kWonHeadingPoints : kWelcomeHeadingPoints)));
        button->setText(text(won ? kWonCaption : kWelcomeCaption));
    });

    window.show();
    button->setFocus();
    return QApplication::exec();
}
