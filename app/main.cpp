#include "app/finara.h"
#include "app/traducaoqt.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication a(argc, argv);
    instalaTraducaoDoQt(a);
    Finara w;
    w.show();
    return a.exec();
}
