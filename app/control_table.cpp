#include "app/control_table.h"

#include "assets/picture/dog_picture.h"

namespace fernwick {

constinit const ImageSlot kDogPicture{
    {fernwick_dog_gif, fernwick_dog_gif_size, "dog.gif"},
    {fernwick_dog_2x_gif, fernwick_dog_2x_gif_size, "dog@2x.gif"}};

}  // namespace fernwick
