/* Machine-dependent JNI definitions for Windows (32 and 64 bit). */
#ifndef _JAVASOFT_JNI_MD_H_
#define _JAVASOFT_JNI_MD_H_

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
/* 32-bit native methods are __stdcall; x86-64 has a single calling convention. */
#ifdef _WIN64
#define JNICALL
#else
#define JNICALL __stdcall
#endif

typedef long jint; /* long is 32 bits on Windows in both widths */
typedef long long jlong;
typedef signed char jbyte;

#endif
