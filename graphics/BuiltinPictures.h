#pragma once

// The pictures built into the program, painted by the picture generator
// (tools/picturegen) at build time and compiled into this library. Each is read through a CMemIO; their sizes are
// known, so readers trust them.

// The about window's picture: a 141 × 128 IES image (18,824 bytes) and one more byte.
extern const unsigned char BuiltinAboutPicture[18825];
extern const unsigned int BuiltinAboutPictureSize;

// The default title-bar icon: a 16 × 16 CEL image.
extern const unsigned char BuiltinTitleIcon[];
extern const unsigned int BuiltinTitleIconSize;

// The file chooser's decorations: a 48 × 32 CEL image and the 32 × 30 CEL image
// drawn as a fading trail.
extern const unsigned char BuiltinChooserFolder[];
extern const unsigned int BuiltinChooserFolderSize;
extern const unsigned char BuiltinChooserPage[];
extern const unsigned int BuiltinChooserPageSize;
