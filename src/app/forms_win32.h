#pragma once
// The program's forms, one instance each, reachable from one another as the program needs.

namespace tessera {

class TForm1;
class TChoix;
class TAboutBox;

extern TForm1* Form1;
extern TChoix* Choix;
extern TAboutBox* AboutBox;

}  // namespace tessera
