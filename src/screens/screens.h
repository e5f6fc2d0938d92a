// The screens that main runs for the menu's choices.
#pragma once

int RunGame();  // nonzero when the game ended by itself, 0 after Escape
void EnterHighScore();
void ShowStory();
void ShowCredits();
void ShowHighScores();
void PlayIntro();  // started only from the title menu
