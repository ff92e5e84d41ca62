#pragma once

// Names the program for Qt before any application object exists, so that
// every command's settings and folders are Quillmart's, in both executables.
void nameTheProgram();
