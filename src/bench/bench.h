#pragma once

// Each sub-command gets the arguments after its own name.
int benchPerft(int argc, char** argv);
int benchPerftSuite(int argc, char** argv);
int benchEval(int argc, char** argv);
int benchSearch(int argc, char** argv);
int benchEpd(int argc, char** argv);
int benchEpdWertung(const char* datei);
int benchQs(int argc, char** argv);
int benchPgn(int argc, char** argv);
int benchBuch(int argc, char** argv);
int benchGewichte(int argc, char** argv);
int benchSelbstspiel(int argc, char** argv);
int benchTestpos(int argc, char** argv);
int benchTune(int argc, char** argv);
// Gets its own sub-command name as argv[0] (bitbase, bitbase-speed, ...).
int benchBitbase(int argc, char** argv);
