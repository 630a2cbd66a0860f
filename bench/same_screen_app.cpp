// The start-up yardstick: FernWick's screen as a Qt Widgets program would usually be written, with
// stock widgets and Qt's own image readers. Same title, icon, client size, control rectangles,
// heading face, size and colour, picture bytes, caption and click toggle as the game: the title,
// sizes, rectangles and picture from its control table, the texts from its toggle.
//
// same_screen_app --bare: the bare window, the least a Qt Widgets program does to show a window
// with the game's button. Same title, client size, button place and caption, and nothing else.
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

#include "app/window_model.h"
#include "fernwick_icon_16_png.h"
#include "fernwick_icon_32_png.h"
#include "game/start_button_toggle.h"

namespace {

QByteArray bytes(const unsigned char* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Reads the bytes as the format named and no other: asked for a PNG, Qt would otherwise load every
// image plugin first to ask whether it reads PNGs too.
QPixmap pixmap(const unsigned char* data, std::size_t size, const char* format) {
    QByteArray encoded = bytes(data, size);
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

// The control's rectangle in the table, in pixels.
QRect rect(const fernwick::WindowModel& model, std::u16string_view name) {
    const fernwick::PixelRect r = model.rect(model.table().indexOf(name));
    return {r.left, r.top, r.width, r.height};
}

QString text(std::u16string_view s) { return QString::fromStdU16String(std::u16string(s)); }

}  // namespace

int main(int argc, char* argv[]) {
    using namespace fernwick::toggle;
    const bool bare = argc == 2 && std::string_view(argv[1]) == "--bare";
    QApplication app(argc, argv);
    const fernwick::WindowModel model;
    const fernwick::ControlTable& table = model.table();
    QWidget window;
    window.setWindowTitle(text(table.window.caption));
    window.resize(model.clientWidth(), model.clientHeight());
    auto* button = new QPushButton(text(kWelcomeCaption), &window);
    button->setGeometry(rect(model, u"STARTBUTTON"));
    if (bare) {
        window.show();
        return QApplication::exec();
    }

    // The game's icon at the two sizes its icon file holds, drawn from the same source.
    QIcon icon;
    icon.addPixmap(pixmap(fernwick_icon_16_png, fernwick_icon_16_png_size, "png"));
    icon.addPixmap(pixmap(fernwick_icon_32_png, fernwick_icon_32_png_size, "png"));
    window.setWindowIcon(icon);

    auto* heading = new QLabel(text(kWelcomeHeading), &window);
    heading->setGeometry(rect(model, u"HEADING"));
    heading->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    heading->setWordWrap(true);
    heading->setFont(headingFont(fernwick::emPixels(kWelcomeHeadingPoints)));
    QPalette palette = heading->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
    heading->setPalette(palette);

    auto* dog = new QLabel(&window);
    dog->setGeometry(rect(model, u"Picture1"));
    dog->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    dog->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const fernwick::EmbeddedBytes gif = table.controls[table.indexOf(u"Picture1")].picture.image;
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
