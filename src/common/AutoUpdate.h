#pragma once

/** Set once while the update panel is built, when the command line asks for an automatic
    update; read afterwards by the panel and by the protocol thread when a transfer completes.
    It is written before any protocol thread starts, so starting the thread publishes it. */
extern bool autoUpdate;
