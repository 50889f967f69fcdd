#include "HaldenHelpWindowClass.h"
#include "HaldenHelpWindowContentComp.h"

HaldenHelpWindowClass::HaldenHelpWindowClass()
{
    auto content = std::make_unique<HaldenHelpWindowContentComp>();
    setResizable (true, false);
    setContentOwned (content.release(), false);
    setName ("Firmware Update Help");
}

HaldenHelpWindowClass::~HaldenHelpWindowClass() = default;
