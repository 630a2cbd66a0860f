// The start-up yardstick: FernWick's screen as a Qt Widgets program would usually be written, with
// stock widgets and Qt's own image readers. Same title, icon, client size, control rectangles,
// heading face, size and colour, picture bytes, caption and click toggle as the game.
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

#include "fernwick_dog_gif.h"
#include "fernwick_icon_16_png.h"
#include "fernwick_icon_32_png.h"

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

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("FernWick"));
    window.resize(239, 286);

    // The game's icon at the two sizes its icon file holds, drawn from the same source.
    QIcon icon;
    icon.addPixmap(pixmap(fernwick_icon_16_png, fernwick_icon_16_png_size, "png"));
    icon.addPixmap(pixmap(fernwick_icon_32_png, fernwick_icon_32_png_size, "png"));
    window.setWindowIcon(icon);

    auto* heading = new QLabel(QStringLiteral("Welcome to FERNWICK!"), &window);
    heading->setGeometry(8, 0, 225, 105);
    heading->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    heading->setWordWrap(true);
    heading->setFont(headingFont(37));
    QPalette palette = heading->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
    heading->setPalette(palette);

    auto* dog = new QLabel(&window);
    dog->setGeometry(40, 88, 153, 161);
    dog->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    dog->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    dog->setPixmap(pixmap(fernwick_dog_gif, fernwick_dog_gif_size, "gif"));

    auto* button = new QPushButton(QStringLiteral("BEGIN FERNWICK!"), &window);
    button->setGeometry(8, 256, 225, 25);
    bool won = false;
    QObject::connect(button, &QPushButton::clicked, [&] {
        won = !won;
        heading->setText(won ? QStringLiteral("Congratulations! You have clocked Fernwick!\n\n"
                                              "SCORE = 1")
                             : QStringLiteral("Welcome to FERNWICK!"));
        heading->setFont(headingFont(won ? 24 : 37));
        button->setText(won ? QStringLiteral("Click to restart game!")
                            : QStringLiteral("BEGIN FERNWICK!"));
    });

    window.show();
    button->setFocus();
    return QApplication::exec();
}
