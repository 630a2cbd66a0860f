// The start-up baseline: the least a Qt Widgets program does to show a window with one push
// button. Same client size and button place as the game, so both ask the same of the X server.
#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.resize(239, 286);
    auto* button = new QPushButton(QStringLiteral("BEGIN"), &window);
    button->setGeometry(8, 256, 225, 25);
    window.show();
    return QApplication::exec();
}
