// The final score of a game, until the score counters take it over.
int score = 0;
