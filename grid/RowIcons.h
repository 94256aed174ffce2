#pragma once
// The grid's row icons (bitmap 130): one strip of three 16x16 images on the
// transparent colour 0xFFFFCC. Image 0 marks a top node (a globe with an arrow),
// image 1 any other node, image 2 a variable that the cleaning found to be a leaf.
#include "platform/WinTypes.h"
#include <QImage>

constexpr int kRowIconSize = 16;
constexpr int kRowIconCount = 3;
constexpr COLORREF kRowIconTransparent = 0xFFFFCC;  // red 0xCC, green 0xFF, blue 0xFF

enum ERowIcon { riTopNode = 0, riNode = 1, riLeaf = 2 };

// Draws the strip (48x16, RGB32); pixels outside the drawings carry the
// transparent colour exactly. Cost: a few hundred painter operations.
QImage DrawRowIconStrip();
