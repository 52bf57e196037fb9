// The batch commands. Each gets argv with argv[0] = its own name and returns
// the exit status: 0, or 1 after one line on stderr naming what went wrong.
#pragma once

int runInfo(int argc, char** argv);
int runConvert(int argc, char** argv);
int runExportQcs(int argc, char** argv);
int runExportNes(int argc, char** argv);
int runExportNsf(int argc, char** argv);
int runRender(int argc, char** argv);
int runTrace(int argc, char** argv);
int runKeys(int argc, char** argv);
int runVerify(int argc, char** argv);
// --render of a module, or of an exported .nsf or .nes file on the console.
int runRenderFile(int argc, char** argv);
