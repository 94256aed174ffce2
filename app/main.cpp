#include "app/OrvexApp.h"
#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    COrvexApp app;
    return app.Run();
}
