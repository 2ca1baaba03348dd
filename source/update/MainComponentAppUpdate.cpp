#include "ui/MainComponent.h"

// The self-update check and offer are not in this version yet; asking for them says so.
void MainComponent::CheckForNewAppUpdate(bool, bool interactive)
{
    if (interactive)
        setStatusLine("<GREY>Application updates are not available in this version.", true);
}

void MainComponent::OfferAppUpdate()
{
    setStatusLine("<GREY>Application updates are not available in this version.", true);
}
