#include "OutputLister.h"
#include "midi/MidiPortProvider.h"

void OutputLister::write (std::ostream& out)
{
    int number = 0;

    for (const auto& device : MidiPortProvider::getCurrent().getOutputDevices())
        out << ++number << '\t' << device.name.toStdString() << '\n';

    out.flush();
}
