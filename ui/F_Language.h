#pragma once
// The language window: lists the languages of the language file and makes one of them the
// current language. Texts are applied only when windows are created, so a new choice is
// stored at once and the caller then ends the program (Tag = 1). A choice the settings file
// cannot keep is said, and the window stays open with the language unchanged.

#include "UVentana_Kalvex.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QTreeWidget;

class TF_Lang : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int Tag MEMBER Tag)
public:
    explicit TF_Lang(QWidget* parent = nullptr);

    // 1 after a new language was chosen and stored; 0 after Cancel or the close box.
    int Tag = 0;

    void reject() override;
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void B_OKClick();

    QLabel* L_IDIOMA;
    QTreeWidget* Lista;
    QListWidget* ListBox1;
    TSobre_Su_Ventana sobre_;
};
