#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow frame;
    frame.setWindowTitle("Orvex");
    frame.resize(900, 600);
    frame.show();
    return app.exec();
}
