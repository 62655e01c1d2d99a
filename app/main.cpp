#include "app/finara.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication a(argc, argv);
    Finara w;
    w.show();
    return a.exec();
}
