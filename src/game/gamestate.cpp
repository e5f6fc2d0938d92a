#include "game/gamestate.h"

GameStats gameStats = {};
int cameraX = 1200;
int ammo = 10;
int planesShotThisGame = 0;
int gameRunning = 1;
int escaped = 0;
int bazookaFired = 0;
int bazookaEndX = 0;
int bazookaEndY = 0;
int spawnGate = 8000;
int skyColour = 0;
