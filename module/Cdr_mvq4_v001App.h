// The module's application object. The framework that would own it is not
// present here; the object exists so that a port to that framework has its
// place, and its initialisation only reports success.
#ifndef DR_MVQ4_MODULE_CDR_MVQ4_V001APP_H
#define DR_MVQ4_MODULE_CDR_MVQ4_V001APP_H

class Cdr_mvq4_v001App {
public:
    virtual ~Cdr_mvq4_v001App() = default;
    virtual bool InitInstance() { return true; }
};

#endif
