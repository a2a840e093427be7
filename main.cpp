#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("VKM30");
    QMainWindow w;
    w.setWindowTitle("VKM30");
    w.resize(1280, 800);
    w.show();
    return app.exec();
}
