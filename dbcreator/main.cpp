// Schemist, the family's database creator.
#include "FamilyFormats.h"
#include "SchemistApp.h"

#include <QApplication>

int main(int argc, char **argv)
{
    zvo::InitFamilyFormats();
    QApplication app(argc, argv);
    zvo::TSchemistApp schemist;
    return schemist.Run();
}
