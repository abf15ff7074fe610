#pragma once

// What the menus' buttons do beyond opening and closing pages: hosting,
// joining and leaving a networked game, quitting, and going back to the
// title. Messages go to standard error.
namespace LayerCreator {

// Opens the server and listens; one local player.
void StartServer();
void CloseServer();
void AbortClientConnection();
// Reads the join screen's field; a usable address becomes the join address,
// the connecting screen opens and the client starts with one local player.
// Anything else prints why and opens a page over the screen that says it.
void ConnectToTypedAddress();
void QuitProgram();
// Disconnects a networked game first, then asks for the title.
void QuitToTitle();
void LeaveLobby();

} // namespace LayerCreator
