#pragma once
// The background the Settings dialog and the About box share: white, a vertical
// gradient from white to the darkened menu-bar colour over all but the bottom strip
// of buttons, a black rule under the gradient and a white rounded panel on it.
#include "platform/WinTypes.h"
#include <QRect>

class QPainter;

constexpr int kButtonStripHeight = 45;  // white strip of OK / Cancel at the bottom
constexpr int kPanelInset = 20;         // panel inset into the gradient
constexpr int kPanelCorner = 10;        // size of the ellipses at the panel's corners

// Each channel times (255 - nAmount) / 255: darkening by 60 keeps 195/255.
COLORREF DarkenColour(COLORREF colour, int nAmount);

// Paints the background into rcClient (the dialog's client rectangle) with the given
// menu-bar colour. Cost: a few fills.
void DrawDialogBackground(QPainter& painter, const QRect& rcClient, COLORREF menuBarColour);
