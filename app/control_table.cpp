#include "app/control_table.h"

#include "assets/picture/dog_picture.h"

namespace fernwick {
namespace {

constinit const ControlTable kTable{
    WindowRecord{
        .name = u"Form1",
        .caption = u"FernWick",
        .clientWidth = 3585,
        .clientHeight = 4290,
        .border = Border::Sizable,
        .systemMenu = true,
        .minimizeBox = true,
        .maximizeBox = true,
        .showInTaskBar = true,
        .initialState = WindowState::Normal,
        .iconResource = kAppIconResource,
    },
    {{
        {.name = u"Picture1",
         .kind = ControlKind::PictureFrame,
         .left = 600,
         .top = 1320,
         .width = 2295,
         .height = 2415,
         .tabIndex = 2,
         .picture = {{fernwick_dog_gif, fernwick_dog_gif_size, "dog.gif"},
                     {fernwick_dog_2x_gif, fernwick_dog_2x_gif_size, "dog@2x.gif"}},
         .accessibleName = u"Cartoon dog"},
        {.name = u"STARTBUTTON",
         .kind = ControlKind::PushButton,
         .text = u"BEGIN FERNWICK!",
         .left = 120,
         .top = 3840,
         .width = 3375,
         .height = 375,
         .tabIndex = 1},
        {.name = u"status",
         .kind = ControlKind::Label,
         .text = u"clocked",
         .left = 240,
         .top = 2400,
         .width = 735,
         .height = 615,
         .visible = false,
         .tabIndex = 3},
        {.name = u"HEADING",
         .kind = ControlKind::Label,
         .text = u"Welcome to FERNWICK!",
         .textColour = ColourValue{0x00C00000},
         .left = 120,
         .top = 0,
         .width = 3375,
         .height = 1575,
         .tabIndex = 0,
         .font = FontDescription{u"Tahoma", 277500, 700, 0}},  // bold, 27.75 pt, Western
    }},
};

}  // namespace

std::size_t ControlTable::indexOf(std::u16string_view name) const {
    std::size_t i = 0;
    while (i < controls.size() && controls[i].name != name) ++i;
    return i;
}

const ControlTable& controlTable() { return kTable; }

}  // namespace fernwick
