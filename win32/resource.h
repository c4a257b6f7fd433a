#ifndef ZORVIK_WIN32_RESOURCE_H_
#define ZORVIK_WIN32_RESOURCE_H_

// Resource ids shared by the .rc file and the code.
#define kIdIcon 1

#endif  // ZORVIK_WIN32_RESOURCE_H_
