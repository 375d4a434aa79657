#pragma once
// The About box: product, version, maker and the buttons that open the maker's web site and
// this computer's system information. It takes no texts from the language file.

#include "UVentana_Kalvex.h"

class TAboutBox : public TVentana_Kalvex {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

private:
    void Button1Click();
    void Button2Click();
};
