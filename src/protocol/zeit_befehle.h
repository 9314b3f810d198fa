#pragma once
#include <memory>

class Ausgabe_t;
class ZeitnetzTrainer_t;

// The UCI "time" command (the whole line):
//   time delete           forget the trainer, its samples and its net
//   time init [H]         a new empty net with H inner nodes (5)
//   time add FILE         append the samples of a time log
//   time learn [E]        train for E epochs (1000)
//   time read FILE        read a net text into the trainer
//   time write FILE       write the trainer's net
// "init" and "learn" may be followed by another sub-command on the line.
// Messages go out as "info string" lines.
void zeitBefehl(const char* zeile, std::unique_ptr<ZeitnetzTrainer_t>& trainer, Ausgabe_t& ausgabe);
