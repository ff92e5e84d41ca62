#include "platform/ui/SystemBeep.h"

#include <QApplication>

void SystemBeep::beep() {
    QApplication::beep();
}
