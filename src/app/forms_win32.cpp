#include "app/forms_win32.h"

namespace tessera {

TForm1* Form1 = nullptr;
TChoix* Choix = nullptr;
TAboutBox* AboutBox = nullptr;

}  // namespace tessera
