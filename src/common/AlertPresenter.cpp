#include "AlertPresenter.h"
#include "JuceAlertPresenter.h"

namespace
{
    AlertPresenter* installedPresenter = nullptr;
}

AlertPresenter& AlertPresenter::getCurrent()
{
    static JuceAlertPresenter defaultPresenter;
    return installedPresenter != nullptr ? *installedPresenter : defaultPresenter;
}

void AlertPresenter::setCurrent (AlertPresenter* newPresenter)
{
    installedPresenter = newPresenter;
}
