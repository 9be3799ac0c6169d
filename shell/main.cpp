// The program's entry: start-up sequence, then the main menu's message loop.
#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    return 0;
}
