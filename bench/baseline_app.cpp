// The bare window: the least a Qt Widgets program does to show a window with the game's button.
// Same title, client size, button place and caption as the game, and nothing else.
#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("FernWick"));
    window.resize(239, 286);
    auto* button = new QPushButton(QStringLiteral("BEGIN FERNWICK!"), &window);
    button->setGeometry(8, 256, 225, 25);
    window.show();
    return QApplication::exec();
}
