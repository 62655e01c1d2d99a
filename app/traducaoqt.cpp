#include "app/traducaoqt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool instalaTraducaoDoQt(QCoreApplication &app)
{
    // Owned by the application, so it lives as long as the texts it serves.
    auto *traducao = new QTranslator(&app);
    if (!traducao->load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::location(QLibraryInfo::TranslationsPath))) {
        delete traducao;
        return false;
    }
    return app.installTranslator(traducao);
}
