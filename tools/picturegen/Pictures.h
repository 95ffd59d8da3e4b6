#pragma once

#include "tools/picturegen/Painter.h"

// The program's pictures, painted procedurally in the warm palette of its windows.
namespace pictures {
Painter PearlSkin(Rgba base);    // 256 × 64 button face
Painter RoundSkin(Rgba base);    // 128 × 128 round button face
Painter NewIcon();               // 32 × 32 document with a spark
Painter OpenIcon();              // 32 × 32 open folder
Painter SaveIcon();              // 32 × 32 folder with an arrow into it
Painter SaveAsIcon();            // 32 × 32 disc with a pencil
Painter HtmlIcon();              // 32 × 32 folder with a globe
Painter InfoIcon();              // 40 × 40 "i" on a blue pearl
Painter SimpleFitIcon();         // 28 × 28 points and a line
Painter WeightedFitIcon();       // 28 × 28 points with error bars and a line
Painter YorkFitIcon();           // 28 × 28 points with bars in x and y and a line
Painter CloverIcon();            // 16 × 16 window icon
Painter TitleIcon();             // 16 × 16 default title-bar icon
Painter ChooserFolder();         // 48 × 32 file chooser decoration
Painter ChooserPage();           // 32 × 30 page of the chooser's trail
Painter AboutPicture();          // 141 × 128, opaque
Painter AppIcon(int size);       // size × size desktop icon: a plot with error bars and a fitted line

// The colours of the three skins.
Rgba Grey();
Rgba Blue();
Rgba Orange();
// Background of the about picture's label.
Rgba LabelBackground();
}  // namespace pictures
