#pragma once

#include <QImage>
#include <QPixmap>

namespace zelkor {

// All pictures of the program are drawn here with QPainter, so the artwork is
// ours and needs no image files. The build draws the icons into the
// program's resources (see app_icons.h); the splash is drawn when shown.
enum class CommandArt {
    NewRace,
    OpenFile,
    OpenJraVan,
    ChangeRace,
    Save,
    Predict,
    Bets,
    Trainer,
    Sports,
    Newspaper,
    Backtest,
    Help,
};
inline constexpr int kCommandArtCount = static_cast<int>(CommandArt::Help) + 1;

// A command's picture, `size` pixels square, and the name of its file.
QPixmap commandPixmap(CommandArt art, int size);
const char* commandArtName(CommandArt art);
// The layout of the icon files the build writes into the resources: a
// square picture's pixels as they lie in memory, byte by byte, so reading
// one needs no decoder.
inline constexpr QImage::Format kIconPixelFormat = QImage::Format_RGBA8888_Premultiplied;
// The program's icon: a horseshoe on turf green.
QPixmap applicationPixmap(int size);
// The start-up picture, 300 × 240.
QPixmap splashPicture();

} // namespace zelkor
