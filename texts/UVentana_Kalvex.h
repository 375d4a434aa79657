#pragma once
// What the program's small windows share: title "Kalvex 3.3", white background, centred on
// the screen at each showing.

#include <QDialog>

class TVentana_Kalvex : public QDialog {
    Q_OBJECT
public:
    // flags: the window kind on top of Qt::Dialog (Qt::Tool, Qt::WindowStaysOnTopHint).
    TVentana_Kalvex(const QString& nombre, Qt::WindowFlags flags, QWidget* parent);

    void setVisible(bool visible) override;
};
