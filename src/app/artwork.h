#pragma once

#include <QIcon>
#include <QPixmap>

namespace zelkor {

// All pictures of the program are drawn here with QPainter, so the artwork is
// ours and needs no image files.
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
    Help,
};

QIcon commandIcon(CommandArt art);
// The program's icon: a horseshoe on turf green.
QIcon applicationIcon();
QPixmap applicationPixmap(int size);
// The start-up picture, 300 × 240.
QPixmap splashPicture();

} // namespace zelkor
