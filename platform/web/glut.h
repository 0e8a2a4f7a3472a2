// The GLUT, GL and GLU that the program calls, in the browser. GL's own
// calls that WebGL has (glClear, glClearColor, glViewport) are WebGL's;
// the rest are ours: the fixed-function pipeline and gluPerspective
// (fixed_function.cpp), glutWireSphere (wire_sphere.cpp) and GLUT itself
// (glut.cpp), on Emscripten's html5.h and emscripten.h. The values are
// freeglut's.
#pragma once

#include <GLES2/gl2.h>

typedef double GLdouble;

#define GL_QUADS 0x0007
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701

#define GLUT_DOUBLE 0x0002
#define GLUT_ALPHA 0x0008
#define GLUT_DEPTH 0x0010
#define GLUT_STENCIL 0x0020
#define GLUT_MULTISAMPLE 0x0080

#define GLUT_KEY_F2 0x0002
#define GLUT_KEY_LEFT 0x0064
#define GLUT_KEY_UP 0x0065
#define GLUT_KEY_RIGHT 0x0066
#define GLUT_KEY_DOWN 0x0067
#define GLUT_KEY_HOME 0x006A

#ifdef __cplusplus
extern "C" {
#endif

void glMatrixMode(GLenum mode);
void glLoadIdentity(void);
void glPushMatrix(void);
void glPopMatrix(void);
void glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void glScalef(GLfloat x, GLfloat y, GLfloat z);
void glColor3f(GLfloat red, GLfloat green, GLfloat blue);
void glNormal3f(GLfloat x, GLfloat y, GLfloat z);
void glBegin(GLenum mode);
void glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void glEnd(void);
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear,
                    GLdouble zFar);

// WebGL's, noting what they set: WebGL forgets it with a lost context,
// and the window sets it again when the context comes back.
void keptClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void keptViewport(GLint x, GLint y, GLsizei width, GLsizei height);

void glutInit(int *argc, char **argv);
void glutInitDisplayMode(unsigned int mode);
void glutInitWindowSize(int width, int height);
int glutCreateWindow(const char *title);
void glutDisplayFunc(void (*callback)(void));
void glutReshapeFunc(void (*callback)(int width, int height));
void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y));
void glutSpecialFunc(void (*callback)(int key, int x, int y));
void glutTimerFunc(unsigned int msecs, void (*callback)(int value), int value);
void glutPostRedisplay(void);
void glutSwapBuffers(void);
void glutWireSphere(GLdouble radius, GLint slices, GLint stacks);
void glutMainLoop(void);

#ifdef __cplusplus
}
#endif

#define glClearColor keptClearColor
#define glViewport keptViewport
